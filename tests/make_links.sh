#!/bin/sh
# Makes the links of the "never leave the folder" tests inside the build folder's test prefix:
# a sentinel folder with a read-only file, and cache and cookie folders that each hold a
# directory link to it (relative, so it never points outside the prefix).
# Usage: make_links.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
here=$(dirname "$0")
[ -f "$build/test-prefix/.corvane-ready" ] || "$here/../scripts/prepare-prefix.sh" "$build" >/dev/null
root="$build/test-prefix/drive_c/corvane-links"
rm -rf "$root"
mkdir -p "$root/sentinel" "$root/cache" "$root/cookies"
echo keep > "$root/sentinel/keep.txt"
chmod 444 "$root/sentinel/keep.txt"
ln -s ../sentinel "$root/cache/link"
ln -s ../sentinel "$root/cookies/link"
