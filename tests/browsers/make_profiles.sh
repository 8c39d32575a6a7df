#!/bin/sh
# Makes the browser profiles of the tests in the build folder's test prefix, from the Linux side:
# Edge, Chrome, Firefox and Opera under the prefix user's AppData, a sentinel profile and Firefox's
# absolute profile in C:\corvane-browsers. Usage: make_profiles.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$build/test-prefix/.corvane-ready" ] || "$here/../../scripts/prepare-prefix.sh" "$build" >/dev/null
user=""
for d in "$build"/test-prefix/drive_c/users/*/; do
  [ "$(basename "$d")" = Public ] || user=${d%/}
done
[ -n "$user" ] || { echo "no user folder in the test prefix" >&2; exit 1; }
scratch="$build/test-prefix/drive_c/corvane-browsers"
rm -rf "$scratch" "$user/AppData/Local/Google" "$user/AppData/Local/Microsoft/Edge" \
       "$user/AppData/Local/Mozilla" "$user/AppData/Roaming/Mozilla" \
       "$user/AppData/Local/Opera Software" "$user/AppData/Roaming/Opera Software"
mkdir -p "$scratch"
python3 "$here/profiles.py" "$user" "$scratch"
