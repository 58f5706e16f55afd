#!/usr/bin/env bash
# Writes the seed corpus of the paint-model fuzzer: eight files of bytes
# from bash's own generator with a fixed seed, 64 to 904 bytes long. The
# fuzzer reads any bytes as choices of actions, so plain noise already makes
# long, varied sequences; the fuzzer grows the rest. Run it again only when
# the set of seeds should change; the files are kept in the repository.
#   tests/fuzz/make-action-seeds.sh [OUTPUT_FOLDER]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/seeds-actions}
mkdir -p "$out"
RANDOM=2026
for n in 1 2 3 4 5 6 7 8; do
  file="$out/noise-$n.bin"
  : >"$file"
  for _ in $(seq 1 $((n * 120 - 56))); do
    # RANDOM is read here: in a command substitution it would be reseeded.
    byte=$((RANDOM % 256))
    printf "$(printf '\\%03o' "$byte")" >>"$file"
  done
done
