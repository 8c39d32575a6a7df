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
# Wine's services start with the first program and keep that program's output open after it
# ends (ctest then waits for them): when none runs for this prefix, they are started here first,
# away from the caller's pipes (on the caller's display; without one the program runs under
# xvfb-run below, as before).
services_running() {
  for p in $(pgrep -f 'system32.services\.exe'); do
    tr '\0' '\n' < "/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}
if [ -n "${DISPLAY:-}" ] && ! services_running; then
  (wineserver -p; wine cmd /c exit) </dev/null >/dev/null 2>&1 || true
fi
exe="$1"; shift
win="Y:\\$(realpath --relative-to="$build/bin" "$exe" | sed 's|/|\\|g')"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$win" "$@"
fi
exec wine "$win" "$@"
