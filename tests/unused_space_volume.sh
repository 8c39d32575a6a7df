#!/usr/bin/env bash
# Runs test_unused_space on ext2 test volumes that hold deleted files with a known text, then
# searches their raw bytes: a wipe stopped half way leaves part of the text (the control); a whole
# wipe, by the engine or by sweepmere /wipe-unused, none. sweepmere stopped by Ctrl+C removes its
# filler first. Usage: unused_space_volume.sh BUILD_DIR EXE
set -euo pipefail
build=$(cd "$1" && pwd); exe=$2
here=$(cd "$(dirname "$0")" && pwd)
volume="$here/support/test-volume.sh"
trap '"$volume" remove "$build"' EXIT

# A volume (of the size given, else 64 MiB) with 24 MiB of deleted text on it.
deleted_text() {
  "$volume" mount "$build" "${1:-64M}" >/dev/null
  "$volume" deleted "$build" CORVANE-DELETED-TEXT
}

# Ctrl+C in the middle of sweepmere's fill: the wipe says it was cancelled, its filler is gone,
# and the drives after it are not begun.
interrupted() {
  local mnt=$build/test-volume/mnt/vol out=$build/test-volume/interrupted.txt pid
  "$here/../scripts/wine-run.sh" "$build" "$(dirname "$exe")/sweepmere.exe" /wipe-unused T: Q: >"$out" 2>&1 &
  pid=$!
  while [ ! -e "$mnt/Corvane-Sweepmere wipe/fill000000.bin" ] && kill -0 $pid 2>/dev/null; do sleep 0.01; done
  kill -INT $pid
  wait $pid || true
  cat "$out"
  grep -q '^T:  cancelled after [0-9]* bytes written; the filler was removed' "$out"
  grep -q "^Q:  not wiped: the wipe was cancelled before it began" "$out"
  [ ! -e "$mnt/Corvane-Sweepmere wipe" ]
}

# Runs the cases of the filter on a volume of its own; sets left to how often the text is left.
left_after() {
  deleted_text "${2:-}"
  [ -z "${3:-}" ] || $3
  "$here/../scripts/wine-run.sh" "$build" "$exe" --gtest_filter="$1"
  "$volume" unmount "$build"
  left=$("$volume" grep "$build" CORVANE-DELETED-TEXT)
}

left_after '*StopAtHalf*'; stopped=$left
left_after '-*StopAtHalf*:*CommandLineWipes*:*Killed*'; wiped=$left
# Large enough for the kill to land in the middle of the fill.
left_after '*Killed*:*CommandLineWipes*' 256M interrupted; cli=$left
# The report of that whole wipe matches the report schema.
/usr/bin/python3 "$here/cli/validate_report.py" "$here/../docs/report.schema.json" \
  "$build/test-prefix/drive_c/corvane-scratch/wipe-report/report.json"
echo "raw image: $stopped deleted texts left after a wipe stopped half way, $wiped after a whole wipe," \
     "$cli after sweepmere /wipe-unused (written: $((24 * 1048576 / 21)))"
[ "$stopped" -gt 0 ] && [ "$wiped" -eq 0 ] && [ "$cli" -eq 0 ]
