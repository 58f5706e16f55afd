#!/usr/bin/env bash
# Renders the main window's artwork (background, title, buttons, brush-size
# slider) from the SVG that draw.py writes, into resources/art/, and the same
# pictures at twice the size into resources/art/2x/ for high-density screens.
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
# Renders one picture at Scale times its design size into Folder.
render() {
  local name=$1 ext=$2 width=$3 height=$4 scale=$5 folder=$6
  rsvg-convert -w $((width * scale)) -h $((height * scale)) -o "$work/$name.png" "$work/$name.svg"
  if [ "$ext" = jpg ]; then
    convert "$work/$name.png" -background white -alpha remove -alpha off -strip \
      -quality 92 "$folder/$name.jpg"
  else
    convert "$work/$name.png" -strip -define png:exclude-chunks=date,time \
      "PNG32:$folder/$name.png"
  fi
}

mkdir -p "$art/2x"
while read -r name ext width height; do
  render "$name" "$ext" "$width" "$height" 1 "$art"
  render "$name" "$ext" "$width" "$height" 2 "$art/2x"
done < "$work/list.txt"
echo "make.sh: $(wc -l < "$work/list.txt") pictures written to $art, at 1x and 2x"
