#!/usr/bin/env bash
# Runs test_wipe_page on ext2 test volumes that hold deleted files with a known text, then searches
# their raw bytes: after the page's wipe was cancelled half way (and closed under it) part of the
# text is still there (the control); after a whole wipe through Erase Now none is.
# Usage: wipe_page_volume.sh BUILD_DIR EXE
set -euo pipefail
build=$(cd "$1" && pwd); exe=$2
here=$(cd "$(dirname "$0")" && pwd)
volume="$here/support/test-volume.sh"
trap '"$volume" remove "$build"' EXIT
stops='*CancelAtHalfWay*:*ClosingThePage*'

# A volume with 48 MiB of deleted text on it.
deleted_text() {
  local mnt
  mnt=$("$volume" mount "$build" "${WIPE_VOLUME_SIZE:-96M}")
  for i in $(seq 1 12); do head -c 4M < <(yes CORVANE-PAGE-TEXT) > "$mnt/text$i.txt"; done
  sync
  rm "$mnt"/text*.txt
  sync
}

run() { "$here/../scripts/wine-run.sh" "$build" "$exe" "$@"; }

deleted_text
run --gtest_filter="$stops"
"$volume" unmount "$build"
stopped=$("$volume" grep "$build" CORVANE-PAGE-TEXT)

deleted_text
run --gtest_filter="-$stops"
"$volume" unmount "$build"
wiped=$("$volume" grep "$build" CORVANE-PAGE-TEXT)
echo "raw image: $stopped deleted texts left after wipes cancelled from the page, $wiped after Erase Now ran to the end"
[ "$stopped" -gt 0 ] && [ "$wiped" -eq 0 ]
