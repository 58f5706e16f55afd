#!/usr/bin/env bash
# Writes the seed corpus of the image-reader fuzzer: tiny files of every
# format and variant the readers handle, made by ImageMagick from four small
# pictures whose pixels follow simple rules. The core tests decode these files
# and check the pixels against the same rules:
#   grad     16 x 8, pixel (x, y) = (17x, 36y, 255 - 17x)
#   gradA    grad with alpha 36y
#   greys    16 x 8, pixel (x, y) = grey 17x
#   checker  16 x 8, black where (x + y) is a multiple of 3, else white
# Run it again only when the set of seeds should change; the files are kept
# in the repository.
#   tests/fuzz/make-seeds.sh [OUTPUT_FOLDER]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/seeds}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{
  echo "P3 16 8 255"
  for y in $(seq 0 7); do
    for x in $(seq 0 15); do echo "$((17 * x)) $((36 * y)) $((255 - 17 * x))"; done
  done
} >"$work/grad.ppm"
{
  printf 'P7\nWIDTH 16\nHEIGHT 8\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n'
  for y in $(seq 0 7); do
    for x in $(seq 0 15); do
      printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((17 * x)) $((36 * y)) $((255 - 17 * x)) $((36 * y)))"
    done
  done
} >"$work/gradA.pam"
{
  echo "P2 16 8 255"
  for y in $(seq 0 7); do
    for x in $(seq 0 15); do echo "$((17 * x))"; done
  done
} >"$work/greys.pgm"
{
  echo "P1 16 8"
  for y in $(seq 0 7); do
    for x in $(seq 0 15); do echo $(( (x + y) % 3 == 0 ? 1 : 0 )); done
  done
} >"$work/checker.pbm"

im() { convert "$@"; }
g=$work/grad.ppm
im "$g" -strip PNG24:"$out/grad.png"
im "$g" -strip -interlace PNG PNG24:"$out/grad-interlaced.png"
im "$g" -strip -depth 16 PNG48:"$out/grad-16bit.png"
im "$g" -strip PNG8:"$out/grad-palette.png"
im "$work/gradA.pam" -strip PNG32:"$out/gradA.png"
im "$work/greys.pgm" -strip -define png:color-type=0 -define png:bit-depth=8 "$out/greys.png"
im "$work/greys.pgm" -strip -define png:color-type=0 -define png:bit-depth=16 "$out/greys-16bit.png"
im "$work/checker.pbm" -strip -define png:color-type=0 -define png:bit-depth=1 "$out/checker.png"
im "$g" "$out/grad.gif"
im "$g" -interlace GIF "$out/grad-interlaced.gif"
im "$work/checker.pbm" "$out/checker.gif"
im "$g" -type TrueColor BMP3:"$out/grad-24bit.bmp"
im "$g" -type Palette -compress None BMP3:"$out/grad-8bit.bmp"
im "$g" -type Palette -compress RLE BMP3:"$out/grad-8bit-rle.bmp"
im "$work/greys.pgm" -type Palette BMP3:"$out/greys-4bit.bmp"
im "$work/checker.pbm" -type bilevel BMP3:"$out/checker-1bit.bmp"
im "$g" -alpha on -define bmp:format=bmp4 BMP:"$out/grad-32bit.bmp"
im "$g" -define bmp:subtype=RGB565 BMP:"$out/grad-rgb565.bmp"
im "$g" -strip -quality 95 -sampling-factor 1x1 "$out/grad.jpg"
im "$g" -strip -quality 95 -interlace JPEG "$out/grad-progressive.jpg"
im "$work/greys.pgm" -strip -quality 95 -colorspace Gray "$out/greys.jpg"
im "$g" -strip -quality 95 -colorspace CMYK "$out/grad-cmyk.jpg"
