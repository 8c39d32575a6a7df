#!/usr/bin/env bash
# Runs test_unused_space on ext2 and NTFS test volumes that hold deleted files with a known text
# (large ones in clusters, small ones in file records, named with the text), then searches their
# raw bytes: a wipe stopped half way leaves part of the text (the control); a whole wipe, by the
# engine or by sweepmere /wipe-unused, none: no content, no name (UTF-16), nothing The Sleuth Kit
# finds. sweepmere stopped by Ctrl+C removes its filler first. Usage: unused_space_volume.sh BUILD_DIR EXE
set -euo pipefail
build=$(cd "$1" && pwd); exe=$2
here=$(cd "$(dirname "$0")" && pwd)
volume="$here/support/test-volume.sh"
trap '"$volume" remove "$build"' EXIT
text=CORVANE-DELETED-TEXT

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

# Runs the cases of the filter on a volume of its own (size, kind); sets left to how often the
# text is left, as content, as a name or to The Sleuth Kit.
left_after() {
  "$volume" mount "$build" "$2" "$3" >/dev/null
  "$volume" deleted "$build" $text
  [ -z "${4:-}" ] || $4
  "$here/../scripts/wine-run.sh" "$build" "$exe" --gtest_filter="$1"
  "$volume" unmount "$build"
  left=$(( $("$volume" grep "$build" $text) + $("$volume" names "$build" $text) + $("$volume" tsk "$build" $text) ))
}

whole='-*StopAtHalf*:*CommandLineWipes*:*Killed*'
left_after '*StopAtHalf*' 64M ext2; stopped=$left
left_after "$whole" 64M ext2; wiped=$left
# Large enough for the kill to land in the middle of the fill.
left_after '*Killed*:*CommandLineWipes*' 256M ext2 interrupted; cli=$left
# The report of that whole wipe matches the report schema.
/usr/bin/python3 "$here/cli/validate_report.py" "$here/../docs/report.schema.json" \
  "$build/test-prefix/drive_c/corvane-scratch/wipe-report/report.json"
left_after '*StopAtHalf*' 96M ntfs; ntfsStopped=$left
left_after '*-*StopAtHalf*:*Killed*' 96M ntfs; ntfsWiped=$left
echo "raw image: $stopped deleted texts left after a wipe stopped half way, $wiped after a whole wipe," \
     "$cli after sweepmere /wipe-unused (written: $((24 * 1048576 / 21)) and 8 small files); on NTFS $ntfsStopped" \
     "after a wipe stopped half way, $ntfsWiped after whole wipes (contents, names, files The Sleuth Kit finds)"
[ "$stopped" -gt 0 ] && [ "$wiped" -eq 0 ] && [ "$cli" -eq 0 ] && [ "$ntfsStopped" -gt 0 ] && [ "$ntfsWiped" -eq 0 ]
