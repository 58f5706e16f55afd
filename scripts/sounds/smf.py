"""Writes a Standard MIDI File (format 0, one track) from timed events.

Responsible only for the file format: variable-length delta times, the
header and track chunks, and a stable order for events at the same tick so
the same arrangement always gives the same bytes.
"""

import struct


def _VarLen(Value):
    """The MIDI variable-length quantity for a non-negative integer."""
    if Value < 0:
        raise ValueError("negative delta time")
    Bytes = [Value & 0x7F]
    Value >>= 7
    while Value:
        Bytes.append(0x80 | (Value & 0x7F))
        Value >>= 7
    return bytes(reversed(Bytes))


class TSmfWriter:
    """Collects channel and meta events at absolute ticks and writes them."""

    def __init__(self, TicksPerQuarter):
        self.FTicksPerQuarter = TicksPerQuarter
        # (tick, rank, sequence, bytes): at one tick, set-up events come
        # first, then note-offs, then note-ons, so a repeated note restarts
        # cleanly instead of being cut by its own previous note-off.
        self.FEvents = []
        self.FEndTick = 0

    def _Add(self, Tick, Rank, Data):
        if Tick < 0:
            raise ValueError("event before the start of the track")
        self.FEvents.append((Tick, Rank, len(self.FEvents), bytes(Data)))

    def Tempo(self, Tick, MicrosecondsPerQuarter):
        self._Add(Tick, 0, b"\xff\x51\x03"
                  + MicrosecondsPerQuarter.to_bytes(3, "big"))

    def TimeSignature(self, Tick, Numerator, DenominatorPower):
        self._Add(Tick, 0, bytes([0xFF, 0x58, 4, Numerator,
                                  DenominatorPower, 24, 8]))

    def Program(self, Tick, Channel, Program):
        self._Add(Tick, 0, bytes([0xC0 | Channel, Program]))

    def Controller(self, Tick, Channel, Number, Value):
        self._Add(Tick, 0, bytes([0xB0 | Channel, Number, Value]))

    def Note(self, Tick, Channel, Key, Velocity, Length):
        """A note from Tick lasting Length ticks."""
        if not (0 <= Key <= 127 and 1 <= Velocity <= 127 and Length > 0):
            raise ValueError("bad note %r" % ((Key, Velocity, Length),))
        self._Add(Tick, 2, bytes([0x90 | Channel, Key, Velocity]))
        self._Add(Tick + Length, 1, bytes([0x80 | Channel, Key, 0]))

    def End(self, Tick):
        """Places the end of the track, no earlier than the last event."""
        self.FEndTick = max(self.FEndTick, Tick)

    def Bytes(self):
        Track = bytearray()
        Now = 0
        for Tick, _Rank, _Seq, Data in sorted(self.FEvents):
            Track += _VarLen(Tick - Now) + Data
            Now = Tick
        Track += _VarLen(max(self.FEndTick - Now, 0)) + b"\xff\x2f\x00"
        Header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, self.FTicksPerQuarter)
        return Header + b"MTrk" + struct.pack(">I", len(Track)) + bytes(Track)

    def Save(self, FileName):
        with open(FileName, "wb") as Stream:
            Stream.write(self.Bytes())
