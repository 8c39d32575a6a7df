#!/usr/bin/env bash
# Makes the README pictures (docs/screenshots/*.png): builds the program and its screenshot driver,
# runs the driver in a fresh, safe prefix of its own (build/shots, the same guards as the tests'
# prefix) on a virtual display of its own, and keeps each picture cropped to the main window,
# as an 8-bit palette PNG. Re-run it whenever the pages change.
# With --all it shoots every category page instead, into build/shots/pages, for checking looks
# (SHOT_DPI=144 for the same at 150%). The main window at 144 DPI is one of the README pictures.
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
clean_up_on_exit "$shots"
# Room for the 150% pass: a screen as large to the eye at 150% as 1280x1024 is at 100%.
VIRTUAL_SCREEN=1920x1200x24 start_virtual_display 140 180
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
# The driver runs from C:, and no drive but C: is left, so that the pictures show only C:.
mkdir -p "$WINEPREFIX/drive_c/driver"
cp "$build/bin/screenshot_driver.exe" "$WINEPREFIX/drive_c/driver/"
rm -f "$WINEPREFIX/dosdevices/y:"

# Runs the driver at a screen scale (LogPixels: 96 is 100%, 144 is 150%) and keeps its pictures.
shoot() {
  local dpi=$1 size=$2 taken=0
  shift 2
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null
  wineserver -k >/dev/null 2>&1 </dev/null || true  # forget Y:, take the scale
  rm -rf "$want"
  wine explorer /desktop=shots,$size 'C:\driver\screenshot_driver.exe' "$@" >/dev/null 2>&1 </dev/null &
  local driver=$!
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
  echo "$taken pictures at $dpi DPI in $out"
  [ "$taken" -gt 0 ]
}
if [ -n "$mode" ]; then
  if [ "${SHOT_DPI:-96}" = 96 ]; then shoot 96 1280x1024 $mode; else shoot "$SHOT_DPI" 1920x1200 $mode; fi
else
  shoot 96 1280x1024
  shoot 144 1920x1200 --hidpi
fi
