#!/usr/bin/env bash
# Renders the main window's artwork (background, title, buttons, brush-size
# slider) from the SVG that draw.py writes, into resources/art/.
#
#   scripts/install-deps.sh --artwork && resources/src/main/make.sh
#
# JPEG pictures are written at quality 92 and PNG pictures without time
# stamps, so running it again gives the same files byte for byte.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../../.." && pwd)
art=$top/resources/art
python=/usr/bin/python3
export LC_ALL=C.UTF-8
# Keep the source tree free of Python's byte-code caches.
export PYTHONDONTWRITEBYTECODE=1

for need in rsvg-convert convert "$python"; do
  command -v "$need" >/dev/null || {
    echo "make.sh: $need is missing; run scripts/install-deps.sh --artwork" >&2
    exit 1
  }
done
# grep -q would stop reading early and fail the pipe under pipefail.
fc-list | grep -i andika >/dev/null || {
  echo "make.sh: the Andika font is missing; run scripts/install-deps.sh" >&2
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$python" "$here/draw.py" "$work"
mkdir -p "$art"
while read -r name ext width height; do
  rsvg-convert -w "$width" -h "$height" -o "$work/$name.png" "$work/$name.svg"
  if [ "$ext" = jpg ]; then
    convert "$work/$name.png" -background white -alpha remove -alpha off -strip \
      -quality 92 "$art/$name.jpg"
  else
    convert "$work/$name.png" -strip -define png:exclude-chunks=date,time \
      "PNG32:$art/$name.png"
  fi
done < "$work/list.txt"
echo "make.sh: $(wc -l < "$work/list.txt") pictures written to $art"
