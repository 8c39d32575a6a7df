#!/usr/bin/env bash
# Makes the dedicated test Wine prefix inside the build folder, safe to erase in:
#  - HOME is a scratch folder inside the build folder, so nothing the prefix links to lies outside it;
#  - the user-folder links of the prefix are replaced by real, empty folders;
#  - drive Z: (the Linux root) is removed; drive Y: maps the folder of the built executables only;
#  - the wineserver is started persistent with every output to /dev/null, so no captured run hangs.
# Usage: prepare-prefix.sh BUILD_DIR [--fresh]
set -euo pipefail
build=$(cd "$1" && pwd)
fresh=${2:-}
export HOME="$build/test-home"
export WINEPREFIX="$build/test-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$fresh" = "--fresh" ] && [ -d "$WINEPREFIX" ]; then
  wineserver -k >/dev/null 2>&1 </dev/null || true
  # A fixture's folder mounted a second time inside the prefix is unmounted, never emptied.
  awk -v p="$WINEPREFIX/" 'index($2, p) == 1 {print $2}' /proc/mounts | xargs -r -n1 umount
  rm -rf "$WINEPREFIX" "$HOME"
fi
# The Recycle Bin is the trash of this HOME (never one named by XDG_DATA_HOME): the bin's tests need it.
unset XDG_DATA_HOME
mkdir -p "$HOME/.local/share/Trash/files" "$HOME/.local/share/Trash/info" "$build/bin"
if [ ! -f "$WINEPREFIX/.corvane-ready" ]; then
  wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w >/dev/null 2>&1 </dev/null || true
  for d in "$WINEPREFIX"/drive_c/users/*/; do
    for link in "$d"*; do
      if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
    done
  done
  # A volume label for C:, read by Wine when the prefix starts (the tests of drive texts use it).
  printf 'CORVANE' > "$WINEPREFIX/drive_c/.windows-label"
  # Without a window manager, closing a top-level window waits for one; unmanaged windows close at once.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
  "$(dirname "$0")/wine-fonts.sh"  # Marlett and Tahoma
  wineserver -w >/dev/null 2>&1 </dev/null || true
  rm -f "$WINEPREFIX/dosdevices/z:"
  ln -sfn "$build/bin" "$WINEPREFIX/dosdevices/y:"
  touch "$WINEPREFIX/.corvane-ready"
elif [ ! -f "$WINEPREFIX/.corvane-fonts" ]; then
  "$(dirname "$0")/wine-fonts.sh"  # a prefix made before the fonts were added; its server restarts below
  wineserver -k >/dev/null 2>&1 </dev/null || true
  wineserver -w >/dev/null 2>&1 </dev/null || true
fi
# Refuse to go on if any link in the user folders still leads out of the build folder.
while IFS= read -r link; do
  target=$(readlink -f "$link")
  case "$target" in "$build"/*) ;; *) echo "unsafe link in test prefix: $link -> $target" >&2; exit 1;; esac
done < <(find "$WINEPREFIX/drive_c" "$WINEPREFIX/dosdevices" -maxdepth 4 -type l ! -name 'com*' ! -name 'lpt*' ! -name 'c:' 2>/dev/null)
wineserver -p >/dev/null 2>&1 </dev/null
# Start the prefix's services now, detached from any pipe: started by the first test instead,
# they would inherit its output and keep ctest waiting for as long as the wineserver lives.
# (With a display only: the session's desktop takes the display it starts with.)
if [ -n "${DISPLAY:-}" ]; then wine cmd /c exit >/dev/null 2>&1 </dev/null || true; fi
