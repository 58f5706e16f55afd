#!/usr/bin/env bash
# Renders the dialog artwork set (dialog background, group panel, dialog
# buttons, bubble hints, volume slider, pointers) into resources/art/, and
# the same pictures at twice the size into resources/art/2x/ for
# high-density screens.
# Needs: scripts/install-deps.sh --artwork
set -euo pipefail
export PYTHONDONTWRITEBYTECODE=1
here=$(cd "$(dirname "$0")" && pwd)
art="$here/../../art"
mkdir -p "$art/2x"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 "$here/gen.py" "$work"
png=(-strip -define png:exclude-chunks=date,time)
# Renders one picture at Scale times its design size into Folder.
render() {
  local name=$1 kind=$2 scale=$3 folder=$4
  rsvg-convert -z "$scale" "$work/$name.svg" -o "$work/$name.png"
  case "$kind" in
    png)
      convert "$work/$name.png" "${png[@]}" "PNG32:$folder/$name.png" ;;
    jpg)
      # 4:4:4 sampling keeps every 8x8 part its own JPEG block, so the parts
      # stay seamless when the dialog repeats them.
      convert "$work/$name.png" -background white -alpha remove -alpha off \
        -sampling-factor 1x1 -quality 92 -strip "$folder/$name.jpg" ;;
    hint)
      python3 "$here/alphaclean.py" "$work/$name.png" "$folder/$name.png" ;;
    cursor)
      python3 "$here/cursorpix.py" "$work/$name.png" "$folder/${name}C.png" \
        "$folder/${name}M.png" "$scale" ;;
    *)
      echo "make.sh: unknown kind $kind for $name" >&2; exit 1 ;;
  esac
}

while read -r name kind; do
  render "$name" "$kind" 1 "$art"
  render "$name" "$kind" 2 "$art/2x"
done < "$work/list.txt"
