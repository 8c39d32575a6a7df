#!/usr/bin/env bash
# Runs test_wipe_page on ext2 test volumes, then searches their raw bytes: after the page's wipe
# was cancelled half way (and closed under it) part of a deleted text is still there (the
# control); after a whole wipe through Erase Now none is. The start-up case runs first in a
# program of its own: the filler it leaves must be found by the program's start.
# Usage: wipe_page_volume.sh BUILD_DIR EXE
set -euo pipefail
build=$(cd "$1" && pwd); exe=$2
here=$(cd "$(dirname "$0")" && pwd)
volume="$here/support/test-volume.sh"
trap '"$volume" remove "$build"' EXIT
run() { "$here/../scripts/wine-run.sh" "$build" "$exe" "$@"; }

# A volume (of the size given, else 64 MiB) with 24 MiB of deleted text on it.
deleted_text() {
  "$volume" mount "$build" "${1:-64M}" >/dev/null
  "$volume" deleted "$build" CORVANE-PAGE-TEXT
}

# Runs the cases of the filter on a volume of its own; sets left to how often the text is left.
left_after() {
  deleted_text "${2:-}"
  run --gtest_filter="$1"
  "$volume" unmount "$build"
  left=$("$volume" grep "$build" CORVANE-PAGE-TEXT)
}

stops='*CancelAtHalfWay*:*ClosingThePage*'
"$volume" mount "$build" >/dev/null
run --gtest_filter='*AtTheNextStart*'
# Large enough that the progress shown reaches half way well before the end.
left_after "$stops" 256M; stopped=$left
# 96 MiB leaves room for exactly one file record after the fill: the report must still say "file records wiped".
left_after "-$stops:*AtTheNextStart*" 96M; wiped=$left
echo "raw image: $stopped deleted texts left after wipes cancelled from the page, $wiped after Erase Now ran to the end"
[ "$stopped" -gt 0 ] && [ "$wiped" -eq 0 ]
