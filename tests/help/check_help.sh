#!/usr/bin/env bash
# Checks the compiled help file against its sources: it is a compiled help file, it holds every
# page, the contents list every page, and no link of a page leads nowhere.
# Usage: check_help.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src="$1/docs/help"
chm="$2/bin/HELP.chm"
bad=0
fail() { echo "FAIL: $*" >&2; bad=1; }
[ "$(head -c 4 "$chm")" = "ITSF" ] || fail "$chm is not a compiled help file"
for page in "$src"/*.html; do
  name=$(basename "$page")
  # The directory of a compiled help file names its files uncompressed.
  grep -aqF "/$name" "$chm" || fail "$name is missing from HELP.chm"
  grep -qF "value=\"$name\"" "$src/contents.hhc" || fail "$name is not in the contents"
  grep -qxF "$name" "$src/HELP.hhp" || fail "$name is not in the project's file list"
  grep -oE 'href="[^"]+"' "$page" | sed 's/^href="//; s/"$//' | while read -r target; do
    file=${target%%#*}; anchor=${target#"$file"}; anchor=${anchor#\#}
    case "$target" in http:*|https:*|mailto:*) continue;; esac
    [ -f "$src/$file" ] || { echo "FAIL: $name links to missing $file" >&2; exit 1; }
    [ -z "$anchor" ] || grep -qF "name=\"$anchor\"" "$src/$file" ||
      { echo "FAIL: $name links to missing anchor $target" >&2; exit 1; }
  done || bad=1
done
grep -oE 'value="[^"]+\.html"' "$src/index.hhk" | sed 's/^value="//; s/"$//' | sort -u | while read -r f; do
  [ -f "$src/$f" ] || { echo "FAIL: the index names missing $f" >&2; exit 1; }
done || bad=1
[ $bad -eq 0 ] && echo "HELP.chm: $(ls "$src"/*.html | wc -l) pages, links sound"
exit $bad
