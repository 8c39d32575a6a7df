#!/usr/bin/env bash
# Runs test_overwrite on fresh ext2 and NTFS test volumes, then searches each volume's raw bytes:
# no overwritten text may be left anywhere (sweepmere /erase ... /overwrite's included), nor an
# erased name (UTF-16) outside the index of a folder that stays (whose name the report gives: the
# test checks), nor anything The Sleuth Kit finds of an erased file by name or recovers by content;
# a plain delete's text and name (the controls, by the engine and by sweepmere) and the content of
# a file's other name must still be there. Usage: overwrite_volume.sh BUILD_DIR EXE [args]
set -euo pipefail
build=$(cd "$1" && pwd); exe=$2; shift 2
here=$(cd "$(dirname "$0")" && pwd)
volume="$here/support/test-volume.sh"
trap '"$volume" remove "$build"' EXIT
status=0
for kind in ext2 ntfs; do
  mnt=$("$volume" mount "$build" 96M $kind)
  mkdir "$mnt/linked"
  head -c 6000 < <(yes CORVANE-KEPT-LINKED) > "$mnt/linked/a.txt"
  ln "$mnt/linked/a.txt" "$mnt/linked/b.txt"
  sync
  "$here/../scripts/wine-run.sh" "$build" "$exe" "$@" || status=1
  "$volume" unmount "$build"
  gone=$("$volume" grep "$build" CORVANE-GONE)
  names=$("$volume" names "$build" CORVANE-GONE)
  loose=$("$volume" loose-names "$build" CORVANE-GONE)
  found=$("$volume" tsk "$build" CORVANE-GONE)
  control=$("$volume" grep "$build" CORVANE-KEPT-CONTROL)
  kept=$("$volume" loose-names "$build" CORVANE-KEPT-NAME)
  linked=$("$volume" grep "$build" CORVANE-KEPT-LINKED)
  cli=$("$volume" grep "$build" CORVANE-KEPT-CLI)
  echo "$kind raw image: $gone overwritten texts left (sweepmere /overwrite's among them), $names erased names" \
       "($loose outside a kept folder's index), $found erased files found by The Sleuth Kit; controls: $control" \
       "texts, $kept names, $linked texts of the linked file, $cli of the cache sweepmere erased without /overwrite"
  # The engine's control is printed only: the files written after it may take its freed blocks (on
  # NTFS always, on ext2 now and then). sweepmere's control, the cache it erased without /overwrite,
  # is the plain delete whose text the search must find.
  [ "$gone" -eq 0 ] && [ "$loose" -eq 0 ] && [ "$found" -eq 0 ] &&
    { [ $kind = ext2 ] || [ "$kept" -gt 0 ]; } && [ "$linked" -gt 0 ] && [ "$cli" -gt 0 ] || status=1
done
exit $status
