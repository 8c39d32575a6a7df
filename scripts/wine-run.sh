#!/usr/bin/env bash
# Runs a built Windows executable in the test Wine prefix of the build folder.
# Usage: wine-run.sh BUILD_DIR program.exe [args...]   (ctest calls it so, as the cross emulator)
set -euo pipefail
build=$(cd "$1" && pwd); shift
here=$(dirname "$0")
export HOME="$build/test-home"
unset XDG_DATA_HOME  # the Recycle Bin stays the trash of this HOME
export WINEPREFIX="$build/test-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/.corvane-ready" ] || "$here/prepare-prefix.sh" "$build"
exe="$1"; shift
win="Y:\\$(realpath --relative-to="$build/bin" "$exe" | sed 's|/|\\|g')"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$win" "$@"
fi
exec wine "$win" "$@"
