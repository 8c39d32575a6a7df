#!/bin/sh
# Makes the fixtures of the "never leave the folder" page tests inside the build folder's test
# prefix, from the Linux side (Windows programs cannot make links under Wine): read-only
# sentinels, and for each erasing page a folder holding a directory link and a file link aimed at
# them, and a folder whose names hold look-alike characters.
# Every link is relative and stays inside the prefix. Usage: make_links.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
here=$(dirname "$0")
[ -f "$build/test-prefix/.corvane-ready" ] || "$here/../scripts/prepare-prefix.sh" "$build" >/dev/null
root="$build/test-prefix/drive_c/corvane-links"
rm -rf "$root"
mkdir -p "$root/sentinel"
echo keep > "$root/sentinel/keep.txt"
echo keep > "$root/keep.txt"
chmod 444 "$root/sentinel/keep.txt" "$root/keep.txt"
# U+FF0E U+FF0E U+FF3C: their ANSI forms are "..\"
dots=$(printf '\357\274\216\357\274\216')
back=$(printf '\357\274\274')
for page in cache cookies temp; do
  mkdir -p "$root/$page" "$root/$page-odd/$dots"
  ln -s ../sentinel "$root/$page/link"
  ln -s ../sentinel/keep.txt "$root/$page/filelink"
  echo odd > "$root/$page-odd/$dots${back}keep.txt"
  echo odd > "$root/$page-odd/$dots/inner.txt"
done
