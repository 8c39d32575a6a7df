#!/usr/bin/env bash
# Makes the README pictures (docs/screenshots/*.png): builds the program and its screenshot driver,
# runs the driver in a fresh, safe prefix of its own (build/shots, the same guards as the tests'
# prefix) on a virtual display of its own, and keeps each picture cropped to the main window,
# as an 8-bit palette PNG. Re-run it whenever the pages change.
# With --all it shoots every category page instead, into build/shots/pages, for checking looks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
out="$root/docs/screenshots"
mode=""
[ "${1:-}" = "--all" ] && { mode="--all"; out="$build/shots/pages"; }
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target screenshot_driver >/dev/null

shots="$build/shots"
mkdir -p "$shots/bin" "$out"

. "$root/scripts/virtual-display.sh"
xvfb_pid=""
cleanup() {
  WINEPREFIX="$shots/test-prefix" HOME="$shots/test-home" wineserver -k >/dev/null 2>&1 </dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
start_virtual_display 140 180
[ -n "$xvfb_pid" ] || { echo "no free display for the screenshots" >&2; exit 1; }

"$root/scripts/prepare-prefix.sh" "$shots" --fresh
export HOME="$shots/test-home" WINEPREFIX="$shots/test-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Chinese and Japanese names are drawn as Windows draws them, through a font linked to the dialog
# font for the characters it lacks (Debian package fonts-droid-fallback).
for face in Tahoma 'MS Sans Serif'; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" /t REG_MULTI_SZ \
    /d 'DroidSansFallbackFull.ttf,Droid Sans Fallback' /f >/dev/null 2>&1 </dev/null
done
want="$WINEPREFIX/drive_c/shots"
rm -rf "$want"
# The driver runs from C:, and no drive but C: is left, so that the pictures show only C:.
mkdir -p "$WINEPREFIX/drive_c/driver"
cp "$build/bin/screenshot_driver.exe" "$WINEPREFIX/drive_c/driver/"
rm -f "$WINEPREFIX/dosdevices/y:"
wineserver -k >/dev/null 2>&1 </dev/null || true  # forget Y: now
wine explorer /desktop=shots,1280x1024 'C:\driver\screenshot_driver.exe' $mode >/dev/null 2>&1 </dev/null &
driver=$!
taken=0
for _ in $(seq 3000); do
  for f in "$want"/*.want; do
    [ -e "$f" ] || continue
    name=$(basename "$f" .want)
    geometry=$(tr -d '\r\n' <"$f")
    sleep 0.3
    import -window root -crop "$geometry" +repage -colors 256 "PNG8:$out/$name.png"
    rm -f "$f"
    taken=$((taken + 1))
    echo "$out/$name.png"
  done
  kill -0 "$driver" 2>/dev/null || break
  sleep 0.1
done
echo "$taken pictures in $out"
[ "$taken" -gt 0 ]
