#!/usr/bin/env bash
# Runs the painting-engine benchmarks and prints the comparison table: each
# comparison with our time, the reference time, the ratio, the target and
# whether it is met; then callgrind's instructions per filled pixel of one
# large fill. Takes about two minutes.
#   bench/run-benchmarks.sh BUILD_DIR [Google Benchmark flags...]
# Extra flags go to the benchmark program, e.g. --benchmark_filter=Stroke.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 BUILD_DIR [benchmark flags...]" >&2
  exit 2
fi
build=$1
shift
bench="$build/bench/tintwell_bench"
callgrind_program="$build/bench/tintwell_fill_callgrind"
if [ ! -x "$bench" ] || [ ! -x "$callgrind_program" ]; then
  echo "$0: $bench or $callgrind_program is missing;" \
    "configure with -DTINTWELL_BENCH=ON and build" >&2
  exit 2
fi

# Five repetitions of a quarter second each; the table uses their median.
"$bench" --benchmark_min_time=0.25 --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true "$@"

echo
echo "Instructions per filled pixel (callgrind, one fill of the 4800x3600 background region)"
if ! command -v valgrind >/dev/null; then
  echo "valgrind is not installed (scripts/install-deps.sh --bench); skipped"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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
