#!/usr/bin/env bash
# Renders the background music to a 16-bit stereo 44100 Hz WAV that is
# exactly one loop long and loops without a seam:
#   render-music.sh OUT.wav WORKDIR
# The arrangement (music.py) is played three times in a row with the
# synthesiser's own effects off; everything after it (room reverb, a gentle
# compressor) is causal and time-invariant, so from the second repeat on the
# signal is periodic. The WAV is the second repeat: it starts with the
# reverb and release tails of the first, which are exactly the tails its own
# end will hand over when it loops.
set -euo pipefail

out="$1"
work="$2"
here="$(cd "$(dirname "$0")" && pwd)"
soundfont=/usr/share/sounds/sf2/FluidR3_GM.sf2
rate=44100

[[ -r "$soundfont" ]] || {
  echo "render-music.sh: $soundfont is missing (scripts/install-deps.sh --sounds)" >&2
  exit 1
}

period=$(python3 "$here/music.py" --period-samples "$rate")
python3 "$here/music.py" "$work/music.mid" --periods 3

# Reverb and chorus off: the synthesiser's reverb modulates its delay lines
# and its chorus runs a free LFO, so neither repeats with the loop. Float
# output keeps the synthesiser's dither out as well.
fluidsynth -q -ni -R 0 -C 0 -o synth.reverb.active=0 -o synth.chorus.active=0 \
  -g 0.5 -r "$rate" -O float -T wav -F "$work/dry.wav" \
  "$soundfont" "$work/music.mid" >/dev/null

# -V1: fluidsynth's float WAV header draws a harmless warning.
# The low cut takes out the offset that some of the soundfont's samples
# carry, which would otherwise eat headroom.
# The first normalisation only puts the compressor's threshold at a known
# level; the last one sets the peak of the loop itself to -2 dBFS, which
# puts the average level near -18 dBFS, in the background. No dither
# (-D): the lossy encoder that follows would bury it anyway.
sox -R -V1 -D "$work/dry.wav" -b 16 "$out" \
  highpass 25 \
  reverb 40 50 70 100 12 -3 \
  gain -n -6 \
  compand 0.001,0.2 6:-18,-18,0,-8 0 -90 \
  trim "${period}s" "${period}s" \
  gain -n -2

frames=$(sox --i -s "$out")
[[ "$frames" == "$period" ]] || {
  echo "render-music.sh: got $frames frames, expected $period" >&2
  exit 1
}
