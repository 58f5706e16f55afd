#!/usr/bin/env bash
# Renders the dialog artwork set (dialog background, group panel, dialog
# buttons, bubble hints, volume slider, pointers) into resources/art/.
# Needs: scripts/install-deps.sh --artwork
set -euo pipefail
export PYTHONDONTWRITEBYTECODE=1
here=$(cd "$(dirname "$0")" && pwd)
art="$here/../../art"
mkdir -p "$art"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 "$here/gen.py" "$work"
png=(-strip -define png:exclude-chunks=date,time)
while read -r name kind; do
  rsvg-convert "$work/$name.svg" -o "$work/$name.png"
  case "$kind" in
    png)
      convert "$work/$name.png" "${png[@]}" "PNG32:$art/$name.png" ;;
    jpg)
      # 4:4:4 sampling keeps every 8x8 part its own JPEG block, so the parts
      # stay seamless when the dialog repeats them.
      convert "$work/$name.png" -background white -alpha remove -alpha off \
        -sampling-factor 1x1 -quality 92 -strip "$art/$name.jpg" ;;
    hint)
      python3 "$here/alphaclean.py" "$work/$name.png" "$art/$name.png" ;;
    cursor)
      python3 "$here/cursorpix.py" "$work/$name.png" "$art/${name}C.png" "$art/${name}M.png" ;;
    *)
      echo "make.sh: unknown kind $kind for $name" >&2; exit 1 ;;
  esac
done < "$work/list.txt"
