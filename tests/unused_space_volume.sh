#!/usr/bin/env bash
# Runs test_unused_space on ext2 test volumes that hold deleted files with a known text, then
# searches their raw bytes: a wipe stopped half way leaves part of the text (the control), a whole
# wipe none. Usage: unused_space_volume.sh BUILD_DIR EXE
set -euo pipefail
build=$(cd "$1" && pwd); exe=$2
here=$(cd "$(dirname "$0")" && pwd)
volume="$here/support/test-volume.sh"
trap '"$volume" remove "$build"' EXIT

# A volume with 24 MiB of deleted text on it; prints how often the text is in its raw bytes.
deleted_text() {
  local mnt
  mnt=$("$volume" mount "$build")
  for i in 1 2 3 4 5 6; do head -c 4M < <(yes CORVANE-DELETED-TEXT) > "$mnt/text$i.txt"; done
  sync
  rm "$mnt"/text*.txt
  sync
}

run() { "$here/../scripts/wine-run.sh" "$build" "$exe" "$@"; }

deleted_text
run --gtest_filter='*StopAtHalf*'
"$volume" unmount "$build"
stopped=$("$volume" grep "$build" CORVANE-DELETED-TEXT)

deleted_text
run --gtest_filter='-*StopAtHalf*'
"$volume" unmount "$build"
wiped=$("$volume" grep "$build" CORVANE-DELETED-TEXT)
echo "raw image: $stopped deleted texts left after a wipe stopped half way, $wiped after a whole wipe (written: $((24 * 1048576 / 21)))"
[ "$stopped" -gt 0 ] && [ "$wiped" -eq 0 ]
