#!/usr/bin/env bash
# Puts SQLite's amalgamation (sqlite3.c, sqlite3.h) into OUT_DIR, taken unchanged from the npm
# package that ships it, at a pinned version whose tarball must match a known SHA-256. The
# tarball stays in OUT_DIR as the cache; nothing of it is committed.
# Usage: fetch-sqlite.sh OUT_DIR
set -euo pipefail
version=12.11.1   # carries SQLite 3.53.2
sha256=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
out=$(mkdir -p "$1" && cd "$1" && pwd)
tarball="$out/better-sqlite3-$version.tgz"
[ -f "$out/sqlite3.c" ] && [ -f "$out/.version-$version" ] && exit 0
if [ ! -f "$tarball" ] || ! echo "$sha256  $tarball" | sha256sum -c --quiet - 2>/dev/null; then
  rm -f "$tarball"
  (cd "$out" && npm pack --silent "better-sqlite3@$version" >/dev/null)
fi
if ! echo "$sha256  $tarball" | sha256sum -c --quiet -; then
  echo "fetch-sqlite: $tarball does not have the expected SHA-256" >&2
  rm -f "$tarball"
  exit 1
fi
tar -xzf "$tarball" -C "$out" --strip-components=3 package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
rm -f "$out"/.version-*
touch "$out/.version-$version"
