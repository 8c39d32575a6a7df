#!/usr/bin/env bash
# Runs test_overwrite on a fresh ext2 test volume, then searches the volume's raw bytes: no
# overwritten text may be left anywhere (sweepmere /erase ... /overwrite's included), while a plain
# delete's text (the controls, by the engine and by sweepmere) and the content of a file's other
# name must still be there. Usage: overwrite_volume.sh BUILD_DIR EXE [args]
set -euo pipefail
build=$(cd "$1" && pwd); exe=$2; shift 2
here=$(cd "$(dirname "$0")" && pwd)
volume="$here/support/test-volume.sh"
trap '"$volume" remove "$build"' EXIT
mnt=$("$volume" mount "$build")
mkdir "$mnt/linked"
head -c 6000 < <(yes CORVANE-KEPT-LINKED) > "$mnt/linked/a.txt"
ln "$mnt/linked/a.txt" "$mnt/linked/b.txt"
sync
"$here/../scripts/wine-run.sh" "$build" "$exe" "$@"
"$volume" unmount "$build"
gone=$("$volume" grep "$build" CORVANE-GONE)
control=$("$volume" grep "$build" CORVANE-KEPT-CONTROL)
linked=$("$volume" grep "$build" CORVANE-KEPT-LINKED)
cli=$("$volume" grep "$build" CORVANE-KEPT-CLI)
echo "raw image: $gone overwritten texts left (sweepmere /overwrite's among them), $control control texts," \
     "$linked texts of the linked file, $cli of the cache sweepmere erased without /overwrite"
[ "$gone" -eq 0 ] && [ "$control" -gt 0 ] && [ "$linked" -gt 0 ] && [ "$cli" -gt 0 ]
