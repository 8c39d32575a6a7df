#!/bin/sh
# Makes the links of the system trace tests inside the build folder's test prefix: a sentinel
# folder with a file, and a Recent folder that holds a file link and a directory link to it (relative, so nothing points outside the prefix).
# Usage: make_trace_links.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
here=$(dirname "$0")
[ -f "$build/test-prefix/.corvane-ready" ] || "$here/../scripts/prepare-prefix.sh" "$build" >/dev/null
root="$build/test-prefix/drive_c/corvane-traces"
rm -rf "$root"
mkdir -p "$root/sentinel" "$root/recent/kept folder"
echo keep > "$root/sentinel/keep.txt"
echo inner > "$root/recent/kept folder/inner.txt"
ln -s ../sentinel/keep.txt "$root/recent/linked.txt"
ln -s ../sentinel "$root/recent/linked folder"
