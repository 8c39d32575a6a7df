#!/usr/bin/env bash
# The browser files of real machines, previewed and erased by sweepmere.exe in the test prefix and
# checked by Python's sqlite3 (tests/browsers/real_profiles.py); the made-up profiles are put back
# afterwards. Usage: real_profiles.sh BUILD_DIR REALDATA
set -euo pipefail
build=$(cd "$1" && pwd)
realdata=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$build/test-prefix/.corvane-ready" ] || "$here/../../scripts/prepare-prefix.sh" "$build" >/dev/null
work="$build/test-prefix/drive_c/corvane-real"
trap 'rm -rf "$work"; sh "$here/make_profiles.sh" "$build" >/dev/null' EXIT
rm -rf "$work" && mkdir -p "$work"
py=/usr/bin/python3
user=$(find "$build/test-prefix/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
$py "$here/real_profiles.py" setup "$user" "$realdata" "$work/state.json"
keys="browser.chrome.history browser.chrome.cookies browser.firefox.history browser.firefox.cookies"
# No output of Wine's to ctest's pipe: a Wine server started by this run would hold it open.
run() { "$here/../../scripts/wine-run.sh" "$build" "$build/bin/sweepmere.exe" "$@" >"$work/out" 2>"$work/err" </dev/null || { cat "$work/out" "$work/err"; exit 1; }; }
run /preview $keys /report 'C:\corvane-real\preview.json'
$py "$here/real_profiles.py" preview "$work/state.json" "$work/preview.json"
run /erase $keys /report 'C:\corvane-real\erase.json'
$py "$here/real_profiles.py" erased "$work/state.json" "$work/erase.json"
