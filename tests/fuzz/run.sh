#!/usr/bin/env bash
# Builds every tests/fuzz/fuzz_*.cpp natively with libFuzzer and AddressSanitizer and runs it.
# Each target names the repository files it links on its first line:
#   // fuzz-sources: a.cpp b.cpp
# Usage: tests/fuzz/run.sh [seconds-per-target] [extra libFuzzer flags...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-10}
shift || true
out="${FUZZ_DIR:-$root/build/fuzz}"
mkdir -p "$out"
includes=()
for d in engine cli pages/common controls framework; do includes+=(-I "$root/$d"); done
status=0
for target in "$root"/tests/fuzz/fuzz_*.cpp; do
  name=$(basename "$target" .cpp)
  sources=$(head -n 1 "$target" | sed -n 's#^// fuzz-sources:##p')
  srcs=()
  for s in $sources; do srcs+=("$root/$s"); done
  clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "${includes[@]}" "$target" "${srcs[@]}" -o "$out/$name"
  mkdir -p "$out/$name.corpus"
  echo "== $name (${seconds}s)"
  if ! "$out/$name" "$out/$name.corpus" -max_total_time="$seconds" -print_final_stats=1 "$@" 2>"$out/$name.log"; then
    tail -n 40 "$out/$name.log"
    status=1
  fi
  grep -E "stat::number_of_executed_units|Done [0-9]+ runs" "$out/$name.log" | tail -n 2 || true
done
exit $status
