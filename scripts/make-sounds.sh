#!/usr/bin/env bash
# Makes the program's background music and its ten sound cues into
# data/sounds/ (music.mp3 and <Cue>.mp3). The files are committed; this
# script records how they were made and makes them again byte for byte.
# It needs python3, fluidsynth with the FluidR3 General MIDI soundfont, sox
# and lame: scripts/install-deps.sh --sounds.
#
# The MP3s carry lame's gapless header, so the program's decoder trims the
# encoder delay and padding and returns exactly the WAV's sample frames:
# the music loops with no gap and each cue starts on its first sound.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
here="$root/scripts/sounds"
out="$root/data/sounds"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

for tool in python3 fluidsynth sox lame; do
  command -v "$tool" >/dev/null || {
    echo "make-sounds.sh: $tool is missing (scripts/install-deps.sh --sounds)" >&2
    exit 1
  }
done

cues=(DropperIn DropperOut Splash StrokeUp StrokeDown GetPaint Wash PageTurn
  ToolChange Undo)

mkdir -p "$out" "$tmp/wav" "$tmp/music" "$tmp/cues"
"$here/render-music.sh" "$tmp/wav/music.wav" "$tmp/music"
"$here/make-cues.sh" "$tmp/wav" "$tmp/cues"

# --resample keeps 44100 Hz (lame would pick a lower rate for some
# bitrates); no ReplayGain analysis, no tags.
#
# The music is encoded with its last two MP3 frames' worth of samples in
# front and its first two behind, so the encoder codes both edges of the
# loop with their real neighbours rather than with a jump from silence;
# gapless.py then widens the header's trim so the decoder drops them again.
context=2304
sox -R "$tmp/wav/music.wav" "$tmp/music-end.wav" trim "-${context}s"
sox -R "$tmp/wav/music.wav" "$tmp/music-start.wav" trim 0 "${context}s"
sox -R "$tmp/music-end.wav" "$tmp/wav/music.wav" "$tmp/music-start.wav" \
  "$tmp/music-wrapped.wav"
lame --quiet --noreplaygain --resample 44.1 -m j -b 112 \
  "$tmp/music-wrapped.wav" "$out/music.mp3"
python3 "$here/gapless.py" "$out/music.mp3" "$context" "$context"
for cue in "${cues[@]}"; do
  lame --quiet --noreplaygain --resample 44.1 -m m -b 96 \
    "$tmp/wav/$cue.wav" "$out/$cue.mp3"
done
rm -f "$out/.keep"

for name in music "${cues[@]}"; do
  printf '%-16s %8s frames  peak %6s dB  rms %6s dB\n' "$name.mp3" \
    "$(sox --i -s "$tmp/wav/$name.wav")" \
    "$(sox -R "$tmp/wav/$name.wav" -n stats 2>&1 | awk '/^Pk lev dB/ { print $4 }')" \
    "$(sox -R "$tmp/wav/$name.wav" -n stats 2>&1 | awk '/^RMS lev dB/ { print $4 }')"
done
