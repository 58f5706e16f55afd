#!/usr/bin/env bash
# Synthesises the ten sound cues with sox into 16-bit mono 44100 Hz WAVs:
#   make-cues.sh OUTDIR WORKDIR
# Every sox call runs with -R (a fixed random seed), so the noise and the
# files come out the same on every run. A cue is a mix of parts, each part
# brought to its own peak level first so the mix is set in decibels; each
# cue ends with the same finishing step: a low cut against rumble and
# offset, short fades at both ends so it starts and stops at silence, and
# the peak set to -3 dBFS (a little lower for the pure tones). make-sounds.sh
# then levels the finished cues by loudness.
set -euo pipefail

out="$1"
work="$2"
rate=44100

# A part of a cue: part NAME PEAK-DB SYNTH-AND-EFFECTS... Noise is brought
# down before any filter so the filters' overshoot cannot clip, and every
# part keeps a decibel of headroom. The rate and channels go before -n:
# they are the synthesised audio's own, so nothing is resampled.
part() {
  local name="$1" peak="$2"
  shift 2
  sox -R -r "$rate" -c 1 -n -b 32 -e floating-point "$work/$name.wav" \
    "$@" gain -n "$((peak - 1))"
}

# Mixes parts, each delayed by a start time: mix NAME PART@SECONDS...
mix() {
  local name="$1"
  shift
  local inputs=()
  local item
  for item in "$@"; do
    sox -R "$work/${item%@*}.wav" "$work/$name.${item%@*}.wav" pad "${item#*@}"
    inputs+=("$work/$name.${item%@*}.wav")
  done
  sox -R -m "${inputs[@]}" "$work/$name.wav"
}

# The finishing step: finish NAME FADE-IN FADE-OUT [PEAK-DB]. Cues made of
# pure tones carry their whole level in one partial and sound louder than
# noisy or plucked ones at the same peak, so they take a lower peak.
finish() {
  sox -R -D "$work/$1.wav" -b 16 "$out/$1.wav" \
    gain -6 highpass 60 fade q "$2" -0 "$3" gain -n "${4:--3}"
}

# A water bubble: a short sine gliding upwards, quickly fading.
# bubble NAME PEAK-DB SECONDS FROM-HZ TO-HZ
bubble() {
  part "$1" "$2" synth "$3" sine "$4/$5" \
    fade q 0.004 -0 "$(awk "BEGIN { print $3 * 0.7 }")"
}

# DropperIn: the dropper sucks paint up, a rising "bloop" and a small plip.
part din-sweep 0 synth 0.22 sine 330/1050 fade q 0.015 -0 0.09
part din-plip -6 synth 0.07 sine 1300/1700 fade q 0.005 -0 0.05
mix DropperIn din-sweep@0 din-plip@0.2
finish DropperIn 0.004 0.03 -4.5

# DropperOut: a little puff of air, then a falling "bloop" as paint drops.
part dout-puff -9 synth 0.08 pinknoise gain -12 bandpass 2200 1.5q fade q 0.01 -0 0.06
part dout-sweep 0 synth 0.24 sine 1050/330 fade q 0.01 -0 0.12
mix DropperOut dout-puff@0 dout-sweep@0.03
finish DropperOut 0.004 0.03 -4.5

# StrokeUp: a brush starts a stroke, a soft swish sweeping upwards.
part sup-tone 0 synth 0.16 triangle 320/760 fade q 0.02 -0 0.08
part sup-hiss -3 synth 0.16 pinknoise gain -12 bandpass 1800 1q fade q 0.05 -0 0.09
mix StrokeUp sup-tone@0 sup-hiss@0
finish StrokeUp 0.006 0.03

# StrokeDown: the same swish sweeping downwards.
part sdn-tone 0 synth 0.16 triangle 760/320 fade q 0.02 -0 0.08
part sdn-hiss -3 synth 0.16 pinknoise gain -12 bandpass 1400 1q fade q 0.05 -0 0.09
mix StrokeDown sdn-tone@0 sdn-hiss@0
finish StrokeDown 0.006 0.03

# GetPaint: a bright chime, a quick C major arpeggio with a bell overtone.
part gp-c 0 synth 0.45 pluck C6 lowpass 4500 fade q 0.002 -0 0.3
part gp-e 0 synth 0.40 pluck E6 lowpass 4500 fade q 0.002 -0 0.3
part gp-g 0 synth 0.36 pluck G6 lowpass 4500 fade q 0.002 -0 0.3
part gp-bell -12 synth 0.36 sine C7 fade q 0.004 -0 0.34
mix GetPaint gp-c@0 gp-e@0.055 gp-g@0.11 gp-bell@0.11
finish GetPaint 0.003 0.05

# ToolChange: a soft two-note pluck, a fourth upwards, over a low hum.
part tc-low 0 synth 0.25 pluck G5 lowpass 4500 fade q 0.002 -0 0.18
part tc-high 0 synth 0.25 pluck C6 lowpass 4500 fade q 0.002 -0 0.2
part tc-body -10 synth 0.25 sine C5 fade q 0.005 -0 0.22
mix ToolChange tc-low@0 tc-high@0.07 tc-body@0.07
finish ToolChange 0.003 0.04

# Splash: the fill pours paint, a burst of watery noise with a few bubbles.
part sp-burst 0 synth 0.5 whitenoise gain -12 bandpass 1100 1.2q lowpass 4000 \
  fade l 0.006 -0 0.46
bubble sp-b1 -4 0.05 500 1300
bubble sp-b2 -5 0.045 650 1600
bubble sp-b3 -6 0.06 420 1100
bubble sp-b4 -8 0.04 800 1800
mix Splash sp-burst@0 sp-b1@0.07 sp-b2@0.16 sp-b3@0.24 sp-b4@0.33
finish Splash 0.004 0.08

# Wash: the tap rinses the picture, a swelling and ebbing rush of water
# with a stream of bubbles.
part wa-rush 0 synth 0.8 pinknoise gain -12 lowpass 2600 bandpass 900 0.8q \
  fade q 0.16 -0 0.5
part wa-hiss -14 synth 0.8 whitenoise gain -12 highpass 3500 lowpass 7000 \
  fade q 0.25 -0 0.45
bubble wa-b1 -5 0.05 420 1100
bubble wa-b2 -6 0.04 600 1500
bubble wa-b3 -5 0.055 380 950
bubble wa-b4 -7 0.04 700 1700
bubble wa-b5 -6 0.05 520 1250
bubble wa-b6 -8 0.045 460 1200
mix Wash wa-rush@0 wa-hiss@0 wa-b1@0.12 wa-b2@0.21 wa-b3@0.3 wa-b4@0.37 \
  wa-b5@0.48 wa-b6@0.58
finish Wash 0.01 0.1

# PageTurn: a sheet of paper swishes over, its sound brightening as it goes.
part pt-lift 0 synth 0.22 whitenoise gain -12 highpass 1200 lowpass 5000 \
  bandpass 2400 1q fade q 0.1 -0 0.12
part pt-flip -2 synth 0.2 whitenoise gain -12 highpass 2500 lowpass 9000 \
  bandpass 4500 1q fade q 0.04 -0 0.16
mix PageTurn pt-lift@0 pt-flip@0.12
finish PageTurn 0.01 0.05

# Undo: a gentle "boop" that slides down, warmed by its lower octave.
part un-boop 0 synth 0.3 sine 700/390 fade q 0.012 -0 0.18
part un-warm -10 synth 0.3 triangle 350/195 fade q 0.012 -0 0.18
mix Undo un-boop@0 un-warm@0
finish Undo 0.005 0.05 -4.5
