#!/usr/bin/env bash
# Makes the program's background music and its ten sound cues into
# data/sounds/ (music.mp3 and <Cue>.mp3). The files are committed; this
# script records how they were made and makes them again byte for byte.
# It needs python3, fluidsynth with the FluidR3 General MIDI soundfont, sox,
# lame and ffmpeg (for its loudness measure): scripts/install-deps.sh --sounds.
#
# The cues are levelled by perceived loudness (ITU-R BS.1770, integrated, as
# ffmpeg's ebur128 filter measures it), not by peak: each is set to the same
# loudness, CueAboveMusic decibels above the music as it plays at the
# default volumes (MusicVolume -1000, SfxVolume 0: the music 10 dB down, the
# cues at full level), and no cue may then peak above -1 dBFS.
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

for tool in python3 fluidsynth sox lame ffmpeg; do
  command -v "$tool" >/dev/null || {
    echo "make-sounds.sh: $tool is missing (scripts/install-deps.sh --sounds)" >&2
    exit 1
  }
done

cues=(DropperIn DropperOut Splash StrokeUp StrokeDown GetPaint Wash PageTurn
  ToolChange Undo)

# The default volumes in decibels and the cues' distance above the music:
# enough for a cue to stand out over the music, not so much that it startles.
music_volume_db=-10
sfx_volume_db=0
cue_above_music=8

# The integrated loudness (LUFS) of a WAV. A cue is shorter than the
# standard's 400-ms blocks, so it is measured played back to back for at
# least four seconds: the loudness it has each time it plays.
loudness() {
  local repeats
  repeats=$(awk -v d="$(sox --i -D "$1")" 'BEGIN { print int(4 / d) }')
  sox -R "$1" "$tmp/loudness.wav" repeat "$repeats"
  ffmpeg -nostdin -hide_banner -nostats -i "$tmp/loudness.wav" -af ebur128 -f null - 2>&1 \
    | awk '/^ *I:/ { value = $2 } END { print value }'
}

peak() { sox -R "$1" -n stats 2>&1 | awk '/^Pk lev dB/ { print $4 }'; }

mkdir -p "$out" "$tmp/wav" "$tmp/music" "$tmp/cues" "$tmp/peaked"
"$here/render-music.sh" "$tmp/wav/music.wav" "$tmp/music"
"$here/make-cues.sh" "$tmp/peaked" "$tmp/cues"

# Each cue's gain to the common loudness, rounded to a hundredth of a
# decibel so the files do not hang on the measure's last float digits.
music_loudness=$(loudness "$tmp/wav/music.wav")
cue_target=$(awk -v m="$music_loudness" -v mv="$music_volume_db" -v sv="$sfx_volume_db" \
  -v d="$cue_above_music" 'BEGIN { printf "%.2f", m + mv + d - sv }')
for cue in "${cues[@]}"; do
  gain=$(awk -v t="$cue_target" -v l="$(loudness "$tmp/peaked/$cue.wav")" \
    'BEGIN { printf "%.2f", t - l }')
  sox -R -D "$tmp/peaked/$cue.wav" "$tmp/wav/$cue.wav" gain "$gain"
  if awk -v p="$(peak "$tmp/wav/$cue.wav")" 'BEGIN { exit !(p > -1) }'; then
    echo "make-sounds.sh: $cue peaks above -1 dBFS at $cue_target LUFS;" \
      "lower cue_above_music" >&2
    exit 1
  fi
done

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

echo "cues at $cue_target LUFS: $cue_above_music dB above the music ($music_loudness LUFS)" \
  "at the default volumes"
for name in music "${cues[@]}"; do
  printf '%-16s %8s frames  peak %6s dB  rms %6s dB  loudness %6s LUFS\n' "$name.mp3" \
    "$(sox --i -s "$tmp/wav/$name.wav")" "$(peak "$tmp/wav/$name.wav")" \
    "$(sox -R "$tmp/wav/$name.wav" -n stats 2>&1 | awk '/^RMS lev dB/ { print $4 }')" \
    "$(loudness "$tmp/wav/$name.wav")"
done
