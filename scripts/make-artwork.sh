#!/usr/bin/env bash
# Regenerates all of Tintwell's artwork from its sources: every
# resources/src/<set>/make.sh (which write resources/art/, and the same
# pictures at twice the size into resources/art/2x/) and the
# application icon, resources/icon/tintwell.svg, as PNG in four sizes.
#
#   scripts/install-deps.sh --artwork && scripts/make-artwork.sh
#
# The outputs are committed; running it again gives the same files byte for
# byte, so a diff after a run shows only what a source change did.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
export LC_ALL=C.UTF-8

for need in rsvg-convert convert; do
  command -v "$need" >/dev/null || {
    echo "make-artwork.sh: $need is missing; run scripts/install-deps.sh --artwork" >&2
    exit 1
  }
done

shopt -s nullglob
sets=("$top"/resources/src/*/make.sh)
if [ ${#sets[@]} -eq 0 ]; then
  echo "make-artwork.sh: no resources/src/*/make.sh found" >&2
  exit 1
fi
for script in "${sets[@]}"; do
  echo "make-artwork.sh: running ${script#"$top"/}"
  bash "$script"
done

icon=$top/resources/icon
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 256 128 64 48; do
  rsvg-convert -w "$size" -h "$size" -o "$work/icon.png" "$icon/tintwell.svg"
  convert "$work/icon.png" -strip -define png:exclude-chunks=date,time \
    "PNG32:$icon/tintwell-$size.png"
done
echo "make-artwork.sh: icon written in 256, 128, 64 and 48 pixels"
