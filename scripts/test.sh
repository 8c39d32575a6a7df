#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite under Wine in a fresh,
# isolated test prefix inside ./build, on a virtual display when there is none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
"$root/scripts/deps.sh"
"$root/scripts/build.sh"

. "$root/scripts/virtual-display.sh"
clean_up_on_exit "$build"

if [ -z "${DISPLAY:-}" ]; then
  start_virtual_display 90 130
fi

"$root/scripts/prepare-prefix.sh" "$build" --fresh
cd "$build"
# One test program at a time: they share the test prefix's registry and folders.
ctest --output-on-failure --timeout 600 "$@"
# The pure parsers and checks under libFuzzer, a short run each (FUZZ_SECONDS=0 skips them).
seconds="${FUZZ_SECONDS:-3}"
[ "$seconds" = 0 ] || FUZZ_DIR="$build/fuzz" "$root/tests/fuzz/run.sh" "$seconds"
