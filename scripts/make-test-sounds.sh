#!/usr/bin/env bash
# Makes the small MP3 files that the audio reader's tests decode, into
# tests/sound/data/. The files are committed; this script records how they
# were made (it needs lame and sox: scripts/install-deps.sh --sounds).
# The sample counts here are the ones the tests expect back from the decoder:
# lame writes its gapless header, so the decoder trims the encoder delay and
# padding and returns exactly these counts.
set -euo pipefail
# The rate and channels go before -n: they set the length unit of synth.

out="$(cd "$(dirname "$0")/.." && pwd)/tests/sound/data"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

# Mono, 22050 Hz: 11025 samples (half a second) of a 441 Hz sine. At
# 22050 Hz a frame must be 64 kbps or more to hold the gapless header.
sox -r 22050 -c 1 -n -b 16 "$tmp/mono.wav" synth 11025s sine 441 vol 0.5
lame --quiet --noreplaygain --resample 22.05 -b 64 "$tmp/mono.wav" "$out/sine-mono-22050.mp3"

# Stereo, 44100 Hz: 13230 sample frames (0.3 seconds), 441 Hz on the left
# and 882 Hz on the right.
sox -r 44100 -c 2 -n -b 16 "$tmp/stereo.wav" synth 13230s sine 441 sine 882 vol 0.5
lame --quiet --noreplaygain --resample 44.1 -b 96 "$tmp/stereo.wav" "$out/sine-stereo-44100.mp3"

# Mono, 22050 Hz: 15 samples, under a millisecond, which the mixer's
# channels refuse as an empty file.
sox -r 22050 -c 1 -n -b 16 "$tmp/tiny.wav" synth 15s sine 441 vol 0.5
lame --quiet --noreplaygain --resample 22.05 -b 64 "$tmp/tiny.wav" "$out/sine-mono-22050-tiny.mp3"

# Mono, 22050 Hz: 66150 samples (three seconds) of a 441 Hz sine with 2000
# bytes in the middle of the file overwritten by noise from a fixed seed:
# the decoder resyncs past the damage, and a stretch of the noise passes for
# a frame of another rate and channel count (24000 Hz stereo), which the
# reader drops. -R keeps sox's dither repeatable, so the file comes out
# the same byte for byte.
sox -R -r 22050 -c 1 -n -b 16 "$tmp/long.wav" synth 66150s sine 441 vol 0.5
lame --quiet --noreplaygain --resample 22.05 -b 64 "$tmp/long.wav" "$tmp/long.mp3"
python3 - "$tmp/long.mp3" "$out/sine-mono-22050-damaged.mp3" <<'PYTHON'
import random
import sys

data = bytearray(open(sys.argv[1], "rb").read())
random.seed(2)
middle = len(data) // 2
for i in range(middle, middle + 2000):
    data[i] = random.randrange(256)
open(sys.argv[2], "wb").write(data)
PYTHON
