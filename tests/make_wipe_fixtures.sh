#!/bin/sh
# Makes the fixture of the wipe-list erase test inside the build folder's test prefix, from the
# Linux side (Windows programs cannot make links under Wine): a folder to erase holding a folder
# link and a file link aimed at read-only sentinels beside it (the links are relative and stay
# inside the prefix), and two saved lists named alike. Usage: make_wipe_fixtures.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
here=$(dirname "$0")
[ -f "$build/test-prefix/.corvane-ready" ] || "$here/../scripts/prepare-prefix.sh" "$build" >/dev/null
root="$build/test-prefix/drive_c/wipe-fixtures"
chmod -R u+w "$root" 2>/dev/null || true
rm -rf "$root"
mkdir -p "$root/sentinel" "$root/erase/sub"
echo keep > "$root/sentinel/keep.txt"
chmod 444 "$root/sentinel/keep.txt"
ln -s ../sentinel "$root/erase/dirlink"
ln -s ../sentinel/keep.txt "$root/erase/filelink"
printf 'secret' > "$root/erase/a.txt"
printf 'secret too' > "$root/erase/sub/b.txt"
# Two saved lists whose names differ only in case, as a case-sensitive folder holds them (a Windows
# program cannot make the second under Wine).
for roaming in "$build"/test-prefix/drive_c/users/*/AppData/Roaming; do
  lists="$roaming/Corvane-Sweepmere/Wipe Lists"
  mkdir -p "$lists"
  printf 'file C:\\corvane-scratch\\Twin.txt\r\n' > "$lists/Twin.wipelist"
  printf 'file C:\\corvane-scratch\\twin.txt\r\n' > "$lists/twin.wipelist"
done
