#!/usr/bin/env bash
# Installs the built installer silently into a fresh prefix inside the build folder, checks the
# installed files, the Start-menu shortcut and the uninstall entry, runs the console program's
# /list from the installed folder, opens Help from the installed program with ProgramFilesPath set
# as Windows sets it, uninstalls silently and checks that nothing of the program is left.
# Usage: test_installer.sh BUILD_DIR SETUP_EXE
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
scratch="$build/installer-test"
setup=$(basename "$2")
version=${setup#CorvaneSweepmere-}; version=${version%-setup.exe}
mkdir -p "$scratch/bin"
cp "$2" "$build/bin/open_help.exe" "$scratch/bin/"
export HOME="$scratch/test-home" WINEPREFIX="$scratch/test-prefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" CORVANE_PACING_PERCENT=0
trap 'wineserver -k >/dev/null 2>&1 </dev/null || true' EXIT
"$here/../../scripts/prepare-prefix.sh" "$scratch" --fresh

fail() { echo "FAIL: $*" >&2; exit 1; }
c="$WINEPREFIX/drive_c"
dir="$c/Program Files/Corvane-Sweepmere"
link="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvane-Sweepmere.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane-Sweepmere'
regvalue() { wine reg query "$1" /v "$2" 2>/dev/null </dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'; }
traces() { find "$c" -iname '*corvane*' 2>/dev/null; }

before=$(traces)
wine "Y:\\$setup" /S </dev/null >/dev/null 2>&1 || fail "the installer failed"

cmp -s "$dir/CorvaneSweepmere.exe" "$build/bin/CorvaneSweepmere.exe" || fail "the installed exe differs from the built one"
cmp -s "$dir/sweepmere.exe" "$build/bin/sweepmere.exe" || fail "the installed sweepmere.exe differs from the built one"
cmp -s "$dir/HELP.chm" "$build/bin/HELP.chm" || fail "the installed help file differs from the built one"
[ -f "$dir/Uninstall.exe" ] || fail "no uninstaller"
[ "$(find "$dir" -type f | wc -l)" -eq 4 ] || fail "unexpected files installed: $(ls "$dir")"
[ -f "$link" ] || fail "no Start-menu shortcut"
[ "$(regvalue "$key" DisplayName)" = "Corvane-Sweepmere" ] || fail "no uninstall entry"
[ "$(regvalue "$key" DisplayVersion)" = "$version" ] || fail "uninstall entry without the version"
[ "$(regvalue "$key" UninstallString)" = '"C:\Program Files\Corvane-Sweepmere\Uninstall.exe"' ] ||
  fail "uninstall entry names $(regvalue "$key" UninstallString)"

listed=$(wine 'C:\Program Files\Corvane-Sweepmere\sweepmere.exe' /list </dev/null 2>&1 | tr -d '\r') ||
  fail "sweepmere.exe /list failed: $listed"
grep -q '^internet\.cache  ' <<<"$listed" || fail "sweepmere.exe /list did not list the categories: $listed"

# Windows keeps ProgramFilesPath as "%ProgramFiles%"; the Help command expands it. (Wine's own
# default is removed first, so that the value set here is the one in use.)
wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesPath /f </dev/null >/dev/null 2>&1 || true
wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesPath /t REG_EXPAND_SZ \
  /d '%ProgramFiles%' /f </dev/null >/dev/null 2>&1
wine 'Y:\open_help.exe' 'C:\Program Files\Corvane-Sweepmere\CorvaneSweepmere.exe' </dev/null 2>&1 | tr -d '\r' |
  grep -qx 'help viewer opened' || fail "Help did not open the installed help file"

wine 'C:\Program Files\Corvane-Sweepmere\Uninstall.exe' /S </dev/null >/dev/null 2>&1 || fail "the uninstaller failed"
# The uninstaller runs on from a copy of itself: wait for it to finish.
for _ in $(seq 300); do [ -e "$dir" ] || [ -e "$link" ] || break; sleep 0.1; done
[ ! -e "$dir" ] || fail "left behind: $(find "$dir")"
[ ! -e "$link" ] || fail "the Start-menu shortcut is left"
wine reg query "$key" </dev/null >/dev/null 2>&1 && fail "the uninstall entry is left"
[ "$(traces)" = "$before" ] || fail "left behind: $(traces)"
echo "installed, opened Help, uninstalled: nothing left"
