"""The background music: an arrangement of the traditional French melody
"Ah ! vous dirai-je, maman" (sung in English as "Twinkle, Twinkle, Little
Star"), written as a Standard MIDI File for fluidsynth to render.

The piece is 24 bars of 4/4 in C major: the tune once plainly (celesta,
pizzicato bass, a soft pad, a harp joining in the second half) and once
varied (vibraphone with passing notes, marimba broken chords, a music box
sparkle), ending with a pickup that leads back into the first bar. No note
sounds across the last bar line, so the piece repeated end to end is one
continuous performance and any one period of it loops seamlessly.

Usage:
  music.py OUT.mid [--periods N]     the piece N times in a row (default 1)
  music.py --period-samples RATE     prints the length of one period in
                                     sample frames at RATE and exits
"""

import os
import sys

# The helper module sits beside this script; no bytecode cache is left in
# the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from smf import TSmfWriter  # noqa: E402

TicksPerQuarter = 480
# 700000 us a quarter (about 86 beats a minute, calm): at 44100 Hz a beat is
# exactly 30870 sample frames, so the loop length is a whole number of frames.
MicrosecondsPerQuarter = 700000
BeatsPerBar = 4

NoteNames = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def Key(Name):
    """MIDI key of a note name such as "C5" (C4 is middle C, key 60)."""
    return 12 * (int(Name[1:]) + 1) + NoteNames[Name[0]]


def Phrase(Text):
    """A melody written as "C5:1 G5:0.5 ..." (durations in beats)."""
    Notes = []
    for Item in Text.split():
        Name, Beats = Item.split(":")
        Notes.append((Key(Name), float(Beats)))
    return Notes


# The tune's phrases, plain and varied. Each is two bars long.
PlainA1 = Phrase("C5:1 C5:1 G5:1 G5:1 A5:1 A5:1 G5:2")
PlainA2 = Phrase("F5:1 F5:1 E5:1 E5:1 D5:1 D5:1 C5:2")
PlainB = Phrase("G5:1 G5:1 F5:1 F5:1 E5:1 E5:1 D5:2")
VariedA1 = Phrase("C5:1 C5:1 G5:1 G5:1 A5:0.5 B5:0.5 C6:0.5 A5:0.5 G5:2")
VariedA2 = Phrase("F5:1 F5:1 E5:1 E5:1 D5:1 D5:0.5 E5:0.5 C5:2")
VariedB = Phrase("G5:1 G5:0.5 A5:0.5 F5:1 F5:0.5 G5:0.5 "
                 "E5:1 E5:0.5 F5:0.5 D5:2")
# The pickup G4-B4 leads into the C5 that follows.
LeadInB = Phrase("G5:1 G5:1 F5:1 F5:1 E5:1 E5:1 D5:1 G4:0.5 B4:0.5")
LeadInA2 = Phrase("F5:1 F5:1 E5:1 E5:1 D5:1 D5:1 C5:1 G4:0.5 B4:0.5")

# Harmony of each phrase in half bars (two beats each).
ChordsA1 = ["C", "C", "F", "C"]
ChordsA2 = ["F", "C", "G", "C"]
ChordsB = ["C", "G7", "C", "G"]

# Chord tones: the pad's voicing (kept close, around middle C) and the bass.
PadVoicing = {"C": ["C4", "E4", "G4"], "F": ["C4", "F4", "A4"],
              "G": ["B3", "D4", "G4"], "G7": ["B3", "D4", "F4", "G4"]}
BassRoot = {"C": "C3", "F": "F2", "G": "G2", "G7": "G2"}
BassFifth = {"C": "G2", "F": "C3", "G": "D3", "G7": "D3"}

# Channel: (General MIDI program, volume, pan).
Celesta, Vibraphone, Pizzicato, Pad, Marimba, Harp, MusicBox = range(7)
Channels = {
    Celesta: (8, 100, 58),
    Vibraphone: (11, 84, 70),
    Pizzicato: (45, 88, 64),
    Pad: (89, 58, 64),
    Marimba: (12, 70, 48),
    Harp: (46, 68, 80),
    MusicBox: (10, 46, 56),
}

# (melody phrase, chords, section flags) for each two-bar phrase in order.
Form = [
    (PlainA1, ChordsA1, set()),
    (PlainA2, ChordsA2, set()),
    (PlainB, ChordsB, {"harp"}),
    (PlainB, ChordsB, {"harp"}),
    (PlainA1, ChordsA1, {"harp"}),
    (PlainA2, ChordsA2, {"harp"}),
    (VariedA1, ChordsA1, {"varied"}),
    (VariedA2, ChordsA2, {"varied"}),
    (VariedB, ChordsB, {"varied", "sparkle"}),
    (LeadInB, ChordsB, {"varied", "sparkle"}),
    (PlainA1, ChordsA1, {"varied"}),
    (LeadInA2, ChordsA2, {"varied"}),
]

BarsPerPeriod = 2 * len(Form)
BeatsPerPeriod = BarsPerPeriod * BeatsPerBar


def Ticks(Beats):
    return int(round(Beats * TicksPerQuarter))


def Accent(Beat):
    """A gentle metric accent: strongest on the bar, then on beat three."""
    Position = Beat % BeatsPerBar
    if Position == 0:
        return 8
    if Position == 2:
        return 4
    return 0


def WriteMelody(Writer, Start, Notes, Channel, Velocity, Transpose=0,
                Legato=0.92):
    Beat = 0.0
    for Note, Beats in Notes:
        Writer.Note(Start + Ticks(Beat), Channel, Note + Transpose,
                    Velocity + Accent(Beat), max(Ticks(Beats * Legato), 1))
        Beat += Beats


def WriteHarmony(Writer, Start, Chords, Flags):
    """Pad, bass, harp and marimba for one two-bar phrase."""
    Half = 2  # beats per chord slot
    # The pad holds a chord for as long as it stays the same in the phrase.
    Slot = 0
    while Slot < len(Chords):
        End = Slot + 1
        while End < len(Chords) and Chords[End] == Chords[Slot]:
            End += 1
        for Name in PadVoicing[Chords[Slot]]:
            Writer.Note(Start + Ticks(Slot * Half), Pad, Key(Name), 44,
                        Ticks((End - Slot) * Half))
        Slot = End
    for Slot, Chord in enumerate(Chords):
        At = Start + Ticks(Slot * Half)
        Repeated = Slot % 2 == 1 and Chords[Slot - 1] == Chord
        Bass = BassFifth[Chord] if Repeated else BassRoot[Chord]
        Writer.Note(At, Pizzicato, Key(Bass), 76 if Slot % 2 == 0 else 66,
                    Ticks(1))
        if "varied" in Flags:
            # A soft octave on the off beat keeps the bass moving.
            Writer.Note(At + Ticks(1), Pizzicato, Key(Bass) + 12, 54, Ticks(1))
        Tones = [Key(Name) for Name in PadVoicing[Chord]]
        if "harp" in Flags:
            Writer.Note(At, Harp, Tones[0], 58, Ticks(1))
            Writer.Note(At + Ticks(1), Harp, Tones[-1], 50, Ticks(1))
        if "varied" in Flags:
            Pattern = [Tones[0], Tones[1], Tones[-1], Tones[1]]
            for Step, Note in enumerate(Pattern):
                Writer.Note(At + Ticks(Step * 0.5), Marimba, Note,
                            54 if Step == 0 else 42, Ticks(0.45))


def WritePeriod(Writer, Start):
    Bar = 0
    for Melody, Chords, Flags in Form:
        At = Start + Ticks(Bar * BeatsPerBar)
        if "varied" in Flags:
            WriteMelody(Writer, At, Melody, Vibraphone, 78, Legato=0.98)
        else:
            WriteMelody(Writer, At, Melody, Celesta, 84)
        if "sparkle" in Flags:
            WriteMelody(Writer, At, Melody, MusicBox, 50, Transpose=12,
                        Legato=0.8)
        WriteHarmony(Writer, At, Chords, Flags)
        Bar += 2


def MakeMidi(Periods):
    Writer = TSmfWriter(TicksPerQuarter)
    Writer.Tempo(0, MicrosecondsPerQuarter)
    Writer.TimeSignature(0, BeatsPerBar, 2)
    for Channel, (Program, Volume, Pan) in sorted(Channels.items()):
        Writer.Program(0, Channel, Program)
        Writer.Controller(0, Channel, 7, Volume)
        Writer.Controller(0, Channel, 10, Pan)
        # Room sound is added afterwards by a time-invariant reverb, so the
        # synthesiser's own effects stay dry.
        Writer.Controller(0, Channel, 91, 0)
        Writer.Controller(0, Channel, 93, 0)
    PeriodTicks = Ticks(BeatsPerPeriod)
    for Index in range(Periods):
        WritePeriod(Writer, Index * PeriodTicks)
    # A bar of silence after the last period lets its last notes ring out.
    Writer.End((Periods * BarsPerPeriod + 1) * Ticks(BeatsPerBar))
    return Writer


def PeriodSamples(Rate):
    Numerator = BeatsPerPeriod * MicrosecondsPerQuarter * Rate
    if Numerator % 1000000:
        raise SystemExit("the loop is not a whole number of frames at %d Hz"
                         % Rate)
    Frames = Numerator // 1000000
    # The synthesiser acts on events once per 64-frame block: a loop that is
    # a whole number of blocks puts every repeat on the same block grid.
    if Frames % 64:
        raise SystemExit("the loop is not a whole number of 64-frame blocks")
    return Frames


def Main(Arguments):
    if len(Arguments) == 2 and Arguments[0] == "--period-samples":
        print(PeriodSamples(int(Arguments[1])))
        return
    Periods = 1
    if len(Arguments) == 3 and Arguments[1] == "--periods":
        Periods = int(Arguments[2])
    elif len(Arguments) != 1:
        raise SystemExit(__doc__)
    if Periods < 1:
        raise SystemExit("--periods must be at least 1")
    MakeMidi(Periods).Save(Arguments[0])


if __name__ == "__main__":
    Main(sys.argv[1:])
