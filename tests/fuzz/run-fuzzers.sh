#!/usr/bin/env bash
# Runs every fuzz target for a bounded time over a copy of the seed corpus
# and the kept regression inputs. Exits non-zero when a target finds a crash,
# a sanitizer report, a leak, a timeout or an out-of-memory input; the input
# is left in BUILD_DIR/fuzz-artifacts/ so it can be added to regressions/.
#   tests/fuzz/run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 BUILD_DIR [SECONDS]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
# Each target with its seed folder.
for entry in fuzz_image_readers:seeds fuzz_picture_file:seeds-pictures \
    fuzz_painter_actions:seeds-actions fuzz_ini_file:seeds-ini \
    fuzz_lang_format:seeds-lang-format; do
  target=${entry%%:*}
  seeds=$here/${entry#*:}
  binary=$build/tests/fuzz/$target
  if [ ! -x "$binary" ]; then
    echo "run-fuzzers: $binary is missing; build with -DTINTWELL_FUZZ=ON first" >&2
    exit 2
  fi
  corpus=$work/$target
  mkdir -p "$corpus"
  cp "$seeds"/* "$corpus"/
  if compgen -G "$here/regressions/*" >/dev/null; then cp "$here"/regressions/* "$corpus"/; fi
  echo "run-fuzzers: $target for ${seconds}s"
  # New inputs go to the temporary corpus only; the kept seeds stay as they are.
  if ! "$binary" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 \
      -artifact_prefix="$artifacts/$target-" -print_final_stats=1 >"$work/$target.log" 2>&1; then
    tail -n 60 "$work/$target.log" >&2
    echo "run-fuzzers: $target FAILED; the input is in $artifacts/" >&2
    status=1
  else
    grep -E "^(stat::number_of_executed_units|stat::new_units_added|stat::peak_rss_mb)" \
      "$work/$target.log" || true
    echo "run-fuzzers: $target passed"
  fi
done
exit $status
