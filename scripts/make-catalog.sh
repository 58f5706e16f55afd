#!/usr/bin/env bash
# Builds the shipped picture catalog, data/catalog/<slug>.twf, and the CREDITS
# file from public-domain clip art in Debian's openclipart-svg package.
#
#   scripts/install-deps.sh --catalog && scripts/make-catalog.sh
#
# Every picture is turned into a colouring page (scripts/catalog/lineart.py),
# packed with its texts by tintwell-picture (thresholding, speck removal and
# packing), extracted again and checked: pure black and white, and the paper
# around the drawing must not run into its shapes. A main picture that fails
# is replaced by the next spare that passes. The run writes nothing into the
# repository until every picture is done, and the same inputs give the same
# files byte for byte.
#
# The tool is built in build-catalog unless TINTWELL_PICTURE names one.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
here=$top/scripts/catalog
clipart=/usr/share/openclipart/svg
python=/usr/bin/python3
wanted=25
languages=(en_us de_de fr_fr es_es it_it nl_nl pl_pl pt_br ru_ru uk_ua)
export LC_ALL=C.UTF-8
# Keep the source tree free of Python's byte-code caches.
export PYTHONDONTWRITEBYTECODE=1

die() { echo "make-catalog.sh: $*" >&2; exit 1; }

for need in rsvg-convert "$python"; do
  command -v "$need" >/dev/null || die "$need is missing; run scripts/install-deps.sh --catalog"
done
[ -d "$clipart" ] || die "$clipart is missing; run scripts/install-deps.sh --catalog"

tool=${TINTWELL_PICTURE:-}
if [ -z "$tool" ]; then
  build=$top/build-catalog
  if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
  cmake --build "$build" --target tintwell-picture -- -j2 >/dev/null
  tool=$build/tintwell-picture
fi
[ -x "$tool" ] || die "picture tool $tool not found"

work=$(mktemp -d "${TMPDIR:-/tmp}/tintwell-catalog.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Pack arguments for one picture: title and description in every language,
# the author (the name shown to children) the same in all of them.
pack_args() {
  local slug=$1 author=$2 lang found
  for lang in "${languages[@]}"; do
    found=0
    while IFS=$'\t' read -r s l title description; do
      if [ "$s" != "$slug" ] || [ "$l" != "$lang" ]; then
        continue
      fi
      if [ -z "$title" ] || [ -z "$description" ]; then
        die "empty text for $slug $lang"
      fi
      printf '%s\0' --title "$lang=$title" --author "$lang=$author" \
        --description "$lang=$description"
      found=1
      break
    done < <(grep -v '^#' "$here/texts.tsv")
    [ $found -eq 1 ] || die "scripts/catalog/texts.tsv has no $lang texts for $slug"
  done
}

# Makes $work/out/<slug>.twf; returns 1 when the page fails the checks and
# stops the run on any other error. (Called in an "if", so errexit is off.)
make_picture() {
  local slug=$1 method=$2 path=$3 author=$4
  local args=()
  mapfile -d '' args < <(pack_args "$slug" "$author")
  [ ${#args[@]} -eq $((3 * 2 * ${#languages[@]})) ] || die "texts for $slug are incomplete"
  "$python" "$here/lineart.py" prepare "$method" "$clipart/$path" "$work/$slug.png" ||
    die "could not convert $path"
  # White holes under 150 pixels are too small to colour and join the line;
  # black specks only under 24, so that small eyes and dots stay.
  "$tool" pack "$work/$slug.png" -o "$work/out/$slug.twf" --lineart --threshold 128 \
    --hole-size 150 --speck-size 24 "${args[@]}" >/dev/null || die "could not pack $slug"
  "$tool" extract "$work/out/$slug.twf" -o "$work/$slug.bmp" >/dev/null ||
    die "could not read $slug.twf back"
  local status=0
  "$python" "$here/lineart.py" check "$work/$slug.bmp" || status=$?
  [ $status -eq 0 ] && return 0
  [ $status -eq 3 ] || die "could not check $slug"
  rm -f "$work/out/$slug.twf"
  return 1
}

mkdir -p "$work/out"
mains=() spares=()
while IFS= read -r line; do
  case "$line" in
    main\|*) mains+=("$line") ;;
    spare\|*) spares+=("$line") ;;
  esac
done < "$here/sources.txt"

chosen=() replaced=()
next_spare=0
# The name a picture file shows: the "shown" field of its sources.txt line,
# else its author.
shown_name() {
  local author shown
  IFS='|' read -r _ _ _ _ author _ shown <<<"$1"
  echo "${shown:-$author}"
}

for line in "${mains[@]}"; do
  IFS='|' read -r _ slug method path _ <<<"$line"
  if make_picture "$slug" "$method" "$path" "$(shown_name "$line")"; then
    chosen+=("$line")
    continue
  fi
  while [ $next_spare -lt ${#spares[@]} ]; do
    spare=${spares[$next_spare]}
    next_spare=$((next_spare + 1))
    IFS='|' read -r _ sslug smethod spath _ <<<"$spare"
    if make_picture "$sslug" "$smethod" "$spath" "$(shown_name "$spare")"; then
      chosen+=("$spare")
      replaced+=("$slug by $sslug")
      break
    fi
  done
done
[ ${#chosen[@]} -ge $wanted ] || die "only ${#chosen[@]} of $wanted pictures passed"

{
  echo "Tintwell's colouring pictures"
  echo "============================="
  echo
  echo "The pictures in data/catalog/ are colouring pages made from public-domain"
  echo "drawings of the Open Clip Art Library (openclipart.org), taken from Debian's"
  echo "openclipart-svg package (files under $clipart/)."
  echo "The drawings were turned into black line art for colouring; the originals"
  echo "and these pages are in the public domain."
  echo
  echo "To make them again:"
  echo "  scripts/install-deps.sh --catalog && scripts/make-catalog.sh"
  echo
  for line in "${chosen[@]}"; do
    IFS='|' read -r _ slug _ path author licence _ <<<"$line"
    [ "$licence" = PD ] || die "$slug: unexpected licence $licence"
    title=$(awk -F'\t' -v s="$slug" '$1 == s && $2 == "en_us" { print $3; exit }' "$here/texts.tsv")
    shown=$(shown_name "$line")
    echo "data/catalog/$slug.twf: $title"
    echo "  author:  $author"
    [ "$shown" = "$author" ] || echo "  shown:   $shown"
    echo "  source:  openclipart-svg, $path"
    echo "  licence: public domain"
  done
} > "$work/CREDITS"

mkdir -p "$top/data/catalog"
for old in "$top"/data/catalog/*.twf; do
  [ -e "$old" ] || continue
  [ -e "$work/out/$(basename "$old")" ] || rm -f "$old"
done
for line in "${chosen[@]}"; do
  IFS='|' read -r _ slug _ <<<"$line"
  cp "$work/out/$slug.twf" "$top/data/catalog/$slug.twf.new"
  mv "$top/data/catalog/$slug.twf.new" "$top/data/catalog/$slug.twf"
done
# The pictures' section opens CREDITS; the sections after it (artwork,
# sounds, fonts) are kept as they are.
if [ -f "$top/CREDITS" ]; then
  awk '/^=+$/ { seen++; if (seen == 2) { keep = 1; print title } }
       keep { print; next }
       { title = $0 }' "$top/CREDITS" | { echo; cat; } >> "$work/CREDITS"
fi
cp "$work/CREDITS" "$top/CREDITS.new" && mv "$top/CREDITS.new" "$top/CREDITS"

echo "Wrote ${#chosen[@]} pictures to data/catalog and CREDITS."
for r in "${replaced[@]}"; do
  echo "Replaced $r."
done
