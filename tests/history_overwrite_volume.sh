#!/usr/bin/env bash
# Runs test_history_overwrite on a fresh ext2 test volume holding two browser histories, then
# searches the raw image: the history cleared with overwriting leaves none of its addresses; the
# control, cleared without, leaves its own in the deleted journal's clusters.
# Usage: history_overwrite_volume.sh BUILD_DIR EXE [args]
set -euo pipefail
build=$(cd "$1" && pwd); exe=$2; shift 2
here=$(cd "$(dirname "$0")" && pwd)
volume="$here/support/test-volume.sh"
trap '"$volume" remove "$build"' EXIT
mnt=$("$volume" mount "$build")
python3 "$here/browsers/profiles.py" --history "$mnt/overwritten/History" 2000 erase-me
python3 "$here/browsers/profiles.py" --history "$mnt/control/History" 2000 kept-control
sync
"$here/../scripts/wine-run.sh" "$build" "$exe" "$@"
"$volume" unmount "$build"
gone=$("$volume" grep "$build" erase-me.example)
control=$("$volume" grep "$build" kept-control.example)
echo "raw image: $gone addresses of the history cleared with overwriting left, $control of the control"
[ "$gone" -eq 0 ] && [ "$control" -gt 0 ]
