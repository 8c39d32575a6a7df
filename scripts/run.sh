#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program under Wine. Unless WINEPREFIX is set,
# it runs in a prefix of its own, build/run/test-prefix, made like the tests' prefix: its HOME is
# inside the build folder, its user folders are real folders (not links to your Linux home, so its
# Recycle Bin is not your trash) and it has no drive Z:. Set WINEPREFIX to use another prefix.
# Without a display it runs on a virtual one, saves a screenshot to build/screenshot.png and stops.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exe="$build/bin/CorvaneSweepmere.exe"
if [ -z "${WINEPREFIX:-}" ]; then
  mkdir -p "$build/run/bin"
  "$root/scripts/prepare-prefix.sh" "$build/run"
  export WINEPREFIX="$build/run/test-prefix" HOME="$build/run/test-home"
  # Its drive Y: is the folder of the built program.
  cp "$exe" "$build/run/bin/"
  exe='Y:\CorvaneSweepmere.exe'
  [ -f "$build/bin/HELP.chm" ] && cp "$build/bin/HELP.chm" "$build/run/bin/"
else
  # Caption buttons and dialog text need Wine's own Marlett and Tahoma in the prefix.
  wineboot -i >/dev/null 2>&1 </dev/null || true
  "$root/scripts/wine-fonts.sh"
fi
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi
shot="$build/screenshot.png"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineboot -i >/dev/null 2>&1 </dev/null || true
  wine explorer /desktop=main,1280x1024 "$1" >/dev/null 2>&1 </dev/null &
  sleep "${SHOT_DELAY:-8}"
  import -window root "$2"
  wineserver -k >/dev/null 2>&1 </dev/null || true
' _ "$exe" "$shot"
echo "No display: the program ran on a virtual display; screenshot saved to $shot"
