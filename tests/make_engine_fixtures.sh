#!/bin/sh
# Makes the fixtures of the engine's walk tests inside the build folder's test prefix, from the
# Linux side (Windows programs cannot make links under Wine): links aimed at read-only sentinels,
# a file link whose target differs from the walked name only by case, hard-linked files, look-alike
# names and a deep tree. Every link is relative and stays inside the prefix.
# Usage: make_engine_fixtures.sh BUILD_DIR [--unmount]
set -eu
build=$(cd "$1" && pwd)
here=$(dirname "$0")
[ -f "$build/test-prefix/.corvane-ready" ] || "$here/../scripts/prepare-prefix.sh" "$build" >/dev/null
root="$build/test-prefix/drive_c/engine-fixtures"
# The protected folders mounted a second time go first: removing the fixtures must not reach them.
for again in "$root/users-again" "$root/windows-again"; do
  if mountpoint -q "$again"; then umount "$again"; fi
done
[ "${2:-}" = "--unmount" ] && exit 0
chmod -R u+w "$root" 2>/dev/null || true
rm -rf "$root"
mkdir -p "$root/sentinel" "$root/walk/sub" "$root/TOP" "$root/top" "$root/elsewhere" "$root/hard"
echo keep > "$root/sentinel/keep.txt"
chmod 444 "$root/sentinel/keep.txt"
ln -s ../sentinel "$root/walk/dirlink"
ln -s ../sentinel/keep.txt "$root/walk/filelink"
echo a > "$root/walk/a.txt"
echo b > "$root/walk/sub/b.txt"
# U+FF0E U+FF0E U+FF3C: look-alikes of "..\"
printf 'odd' > "$root/walk/$(printf '\357\274\216\357\274\216\357\274\274')keep.txt"
# top/f.txt leads to TOP/f.txt: the same name but for case.
echo twin > "$root/TOP/f.txt"
ln -s ../TOP/f.txt "$root/top/f.txt"
# Two names of one file each: a writable one and a read-only one.
echo shared > "$root/elsewhere/shared.txt"
ln "$root/elsewhere/shared.txt" "$root/hard/shared.txt"
echo locked > "$root/elsewhere/locked.txt"
chmod 444 "$root/elsewhere/locked.txt"
ln "$root/elsewhere/locked.txt" "$root/hard/locked.txt"
# A folder reached through a link.
ln -s walk "$root/walklink"
# 200 folders deep (the walk keeps its own stack of folders).
deep="$root/deep"
mkdir -p "$deep"
cd "$deep"
for _ in $(seq 200); do mkdir d; cd d; done
echo bottom > bottom.txt
# C:\users and C:\windows once more, mounted read-only under names no path check knows: their IDs
# are those of the protected folders (a share of this machine does the same on Windows).
for pair in users:users-again windows:windows-again; do
  mkdir -p "$root/${pair#*:}"
  mount --bind "$build/test-prefix/drive_c/${pair%%:*}" "$root/${pair#*:}"
  mount -o remount,bind,ro "$root/${pair#*:}"
done
