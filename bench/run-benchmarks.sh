#!/usr/bin/env bash
# Runs the benchmarks and prints their tables. First the painting engine:
# each comparison with our time, the reference time, the ratio, the target
# and whether it is met; then callgrind's instructions per filled pixel of
# one large fill (about two minutes); the slowest picture load over the fuzz
# seed corpora and crafted GIF worst cases; the colouring pages made from
# images (the quality over 300 clip-art pictures, a contact sheet of the
# first ones in BUILD_DIR/colouring-pages.png, the time for a 12-megapixel
# photo; about five minutes). Then the sound system: the reader's
# decoding speed, the CPU load while the music plays (20 s) and the delay
# from Play to a cue's first samples (about 20 s).
#   bench/run-benchmarks.sh BUILD_DIR [--sound-only | --no-sound | --pages-only]
#                           [Google Benchmark flags...]
# Extra flags go to the engine's benchmark program (to the sound one with
# --sound-only), e.g. --benchmark_filter=Stroke.
set -euo pipefail

usage() {
  echo "usage: $0 BUILD_DIR [--sound-only | --no-sound | --pages-only] [benchmark flags...]" >&2
  exit 2
}
[ $# -ge 1 ] || usage
build=$1
shift
engine=yes
sound=yes
pages=yes
case "${1:-}" in
  --sound-only) engine=no; pages=no; shift ;;
  --no-sound) sound=no; shift ;;
  --pages-only) engine=no; sound=no; shift ;;
esac

bench="$build/bench/tintwell_bench"
callgrind_program="$build/bench/tintwell_fill_callgrind"
history_memory="$build/bench/tintwell_history_memory"
sound_bench="$build/bench/tintwell_sound_bench"
sound_load="$build/bench/tintwell_sound_load"
sound_latency="$build/bench/tintwell_sound_latency"
picture_load="$build/bench/tintwell_picture_load"
colouring_pages="$build/bench/tintwell_colouring_pages"
needed=()
[ $pages = yes ] && needed+=("$colouring_pages")
[ $engine = yes ] && needed+=("$bench" "$callgrind_program" "$picture_load" "$history_memory")
[ $sound = yes ] && needed+=("$sound_bench" "$sound_load" "$sound_latency")
for program in "${needed[@]}"; do
  if [ ! -x "$program" ]; then
    echo "$0: $program is missing; configure with -DTINTWELL_BENCH=ON and build" >&2
    exit 2
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The undo history's resident memory: twelve fills of an eighth of the
# picture with MaxHistory 10, each size in a process of its own.
history_memory_table() {
  echo
  echo "Resident memory added by twelve fills of an eighth of the picture (MaxHistory 10)"
  row() { printf '%-62s %-22s %-12s %-14s %-16s %s\n' "$@"; }
  row "Picture" "Added" "Picture" "Pictures' worth" "Target" "Result"
  for size in 1200x1200 2400x1800 4800x3600 9600x7200; do
    if ! "$history_memory" "${size%x*}" "${size#*x}" >"$work/memory.$size" 2>&1; then
      row "$size" "-" "-" "-" "<= 3" "ERROR"
      sed 's/^/    /' "$work/memory.$size" | tail -n 3
      continue
    fi
    read -r added picture worth result < <(awk '
      /^rss_before_kib/ { b = $2 } /^rss_after_kib/ { a = $2 } /^picture_kib/ { p = $2 }
      END { w = (a - b) / p; printf "%.1f %.1f %.2f %s\n", (a - b) / 1024, p / 1024, w,
            (w <= 3 ? "MET" : "NOT_MET") }' "$work/memory.$size")
    row "$size" "$added MiB" "$picture MiB" "$worth" "<= 3" "${result/_/ }"
  done
}

engine_benchmarks() {
  # Five repetitions of a quarter second each; the table uses their median.
  "$bench" --benchmark_min_time=0.25 --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true "$@"

  history_memory_table

  echo
  echo "Instructions per filled pixel (callgrind, one fill of the 4800x3600 background region)"
  if ! command -v valgrind >/dev/null; then
    echo "valgrind is not installed (scripts/install-deps.sh --bench); skipped"
    return
  fi
  row() { printf '%-62s %-22s %-12s %-14s %-16s %s\n' "$@"; }
  row "Fill" "Instructions" "Pixels" "Per pixel" "Target" "Result"
  for mode in replace and or; do
    out="$work/callgrind.$mode"
    if ! pixels=$(valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out" \
        "$callgrind_program" "$mode" 4800 2>"$work/log.$mode" | awk '/^region_pixels/ { print $2 }') \
        || [ -z "$pixels" ]; then
      row "Background $mode" "-" "-" "-" "<= 6" "ERROR"
      sed 's/^/    /' "$work/log.$mode" | tail -n 5
      continue
    fi
    instructions=$(awk '/^totals:/ { print $2 }' "$out")
    read -r per result < <(awk -v i="$instructions" -v p="$pixels" \
      'BEGIN { r = i / p; printf "%.2f %s\n", r, (r <= 6 ? "MET" : "NOT_MET") }')
    row "Background $mode" "$instructions" "$pixels" "$per" "<= 6" "${result/_/ }"
    if [ "$result" != MET ] && command -v callgrind_annotate >/dev/null; then
      echo "    where the instructions go:"
      callgrind_annotate "$out" 2>/dev/null | grep -E '^ *[0-9,]+ +\([ 0-9.]+%\) ' \
        | grep -v 'PROGRAM TOTALS' | head -n 5 | sed 's/^/    /'
    fi
  done
}

# MET when VALUE compares to LIMIT as OP (">=" or "<="), ERROR when empty.
verdict() {
  [ -n "$1" ] || { echo ERROR; return; }
  awk -v v="$1" -v op="$2" -v l="$3" \
    'BEGIN { ok = (op == ">=") ? (v >= l) : (v <= l); print (ok ? "MET" : "NOT MET") }'
}

sound_benchmarks() {
  echo
  echo "Sound: decoding speed"
  local decode="" load="" median="" max=""
  # The same repetitions as the engine's; the figure is the median's.
  if "$sound_bench" --benchmark_min_time=0.25 --benchmark_repetitions=5 \
      --benchmark_report_aggregates_only=true \
      --benchmark_out="$work/decode.json" --benchmark_out_format=json "$@"; then
    decode=$(awk '/"name":/ { name = $0 }
      /"TimesRealTime":/ && name ~ /music\.mp3\/Read400ms_median"/ {
        gsub(/[ ,]/, "", $2); print $2; exit
      }' "$work/decode.json")
  fi
  echo
  if "$sound_load" 20 >"$work/load.txt"; then
    load=$(awk '/^load_percent/ { print $2 }' "$work/load.txt")
  fi
  grep -v '^load_percent' "$work/load.txt" || true
  echo
  if "$sound_latency" 20 >"$work/latency.txt"; then
    median=$(awk '/^latency_median_ms/ { print $2 }' "$work/latency.txt")
    max=$(awk '/^latency_max_ms/ { print $2 }' "$work/latency.txt")
  fi
  grep -v '^latency_' "$work/latency.txt" || true

  echo
  echo "Sound summary"
  row() { printf '%-56s %-28s %-16s %s\n' "$@"; }
  row "Figure" "Measured" "Target" "Result"
  # "-" for a figure that could not be measured.
  shown() { if [ -n "$2" ]; then printf "$1" "${@:2}"; else echo -; fi; }
  row "Decoding music.mp3, 400-ms reads (median, CPU)" \
    "$(shown '%.0fx real time' "$decode")" ">= 500x" "$(verdict "$decode" '>=' 500)"
  row "CPU of the sound system, music playing, cues idle" \
    "$(shown '%.2f %% of a core' "$load")" "<= 2 %" "$(verdict "$load" '<=' 2)"
  row "Play on a stopped cue to its first samples (max)" \
    "$(shown '%.1f ms (median %.1f)' "$max" "$median")" "<= 30 ms" "$(verdict "$max" '<=' 30)"
}

picture_benchmarks() {
  echo
  echo "Pictures: loading the fuzz seed corpora and crafted GIF worst cases"
  local crafted="" corpus=""
  if "$picture_load" >"$work/pictures.txt"; then
    crafted=$(awk '/^slowest_crafted_ms/ { print $2 }' "$work/pictures.txt")
    corpus=$(awk '/^slowest_corpus_ms/ { print $2 }' "$work/pictures.txt")
  fi
  grep -v '^slowest_' "$work/pictures.txt" || true
  echo
  printf '%-56s %-28s %-16s %s\n' "Figure" "Measured" "Target" "Result"
  printf '%-56s %-28s %-16s %s\n' "Slowest crafted picture load (median of 5)" \
    "${crafted:--} ms" "<= 100 ms" "$(verdict "$crafted" '<=' 100)"
  printf '%-56s %-28s %-16s %s\n' "Slowest corpus picture load (median of 5)" \
    "${corpus:--} ms" "<= 100 ms" "$(verdict "$corpus" '<=' 100)"
}

# Pages made from dropped images: the share of good pages over a seeded
# sample of 300 clip-art pictures and the time for a 12-megapixel photo.
page_benchmarks() {
  echo
  echo "Colouring pages from images: 300 clip-art pictures (openclipart-png), a 12-megapixel photo"
  local out="$work/pages.txt"
  if ! "$colouring_pages" --count 300 --seed 18 --sheet "$build/colouring-pages.png" >"$out"; then
    echo "the page benchmark failed (scripts/install-deps.sh --bench installs the clip art)"
    return
  fi
  figure() { awk -v k="$1" '$1 == k { print $2 }' "$out"; }
  local good regions black failed photo mean
  good=$(figure good_percent)
  regions=$(figure three_regions_percent)
  black=$(figure black_3_25_percent)
  failed=$(figure one_region_over_90_percent)
  photo=$(figure photo_12mp_ms)
  mean=$(figure mean_ms)
  echo "pages: $(figure pages), unreadable: $(figure unreadable), mean $(printf '%.0f' "$mean") ms" \
    "a page, slowest $(printf '%.0f' "$(figure slowest_ms)") ms; contact sheet: $(figure sheet)"
  row() { printf '%-56s %-28s %-16s %s\n' "$@"; }
  row "Figure" "Measured" "Target" "Result"
  row "Good pages (all three below)" "$(printf '%.1f %%' "$good")" ">= 90 %" \
    "$(verdict "$good" '>=' 90)"
  row "Pages with 3+ fillable regions of >= 150 px" "$(printf '%.1f %%' "$regions")" "-" "-"
  row "Pages with 3-25 % black" "$(printf '%.1f %%' "$black")" "-" "-"
  row "Failed pages: one region over 90 %" "$(printf '%.1f %%' "$failed")" "-" "-"
  row "12-megapixel photo to a page (median of 5)" "$(printf '%.0f ms' "$photo")" "<= 1000 ms" \
    "$(verdict "$photo" '<=' 1000)"
}

if [ $engine = yes ]; then
  engine_benchmarks "$@"
  picture_benchmarks
fi
if [ $pages = yes ]; then
  page_benchmarks
fi
if [ $sound = yes ]; then
  if [ $engine = yes ]; then sound_benchmarks; else sound_benchmarks "$@"; fi
fi
