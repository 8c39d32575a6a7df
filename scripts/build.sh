#!/usr/bin/env bash
# Configures and builds everything (program, tests, benchmarks) into ./build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
# Paths relative to the checkout, so that clones in other folders share ccache's objects.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"
