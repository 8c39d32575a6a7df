#!/usr/bin/env bash
# Installs the built installer (the NSIS setup.exe or the MSI) silently into a fresh prefix of its
# own inside the build folder, checks the installed files, the Start-menu shortcut and the
# uninstall entry, runs the console program's /list from the installed folder, opens Help from the
# installed program with ProgramFilesPath set as Windows sets it, uninstalls silently and checks
# that nothing of the program is left. The MSI is also upgraded in place by a newer version first.
# Usage: test_installer.sh BUILD_DIR INSTALLER
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
setup=$(basename "$2")
case "$setup" in
  *.msi) kind=msi; version=${setup#CorvaneSweepmere-}; version=${version%.msi} ;;
  *) kind=nsis; version=${setup#CorvaneSweepmere-}; version=${version%-setup.exe} ;;
esac
scratch="$build/installer-test-$kind"
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
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
regvalue() { wine reg query "$1" /v "$2" 2>/dev/null </dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'; }
traces() { find "$c" -iname '*corvane*' 2>/dev/null; }
msi() { wine msiexec "$@" /qn </dev/null >/dev/null 2>&1; }
product() { msiinfo export "$1" Property | tr -d '\r' | awk '$1 == "ProductCode" { print $2 }'; }

before=$(traces)
if [ $kind = msi ]; then
  # An older version first: the built one must replace it in place (the same UpgradeCode).
  older="$scratch/bin/CorvaneSweepmere-1.0.0.0.msi"
  (cd "$build/msi" && wixl -a x64 -D EXE=CorvaneSweepmere.exe -D CLI=sweepmere.exe -D CHM=HELP.chm \
     -D ADMX=Corvane-Sweepmere.admx -D ADML=Corvane-Sweepmere.adml -D ICON=app.ico -D VERSION=1.0.0.0 \
     -o "$older" CorvaneSweepmere.wxs 2>/dev/null)
  msi /i 'Y:\CorvaneSweepmere-1.0.0.0.msi' || fail "the older MSI did not install"
  [ "$(regvalue "$uninstall\\$(product "$older")" DisplayVersion)" = 1.0.0.0 ] || fail "no entry of the older MSI"
  msi /i "Y:\\$setup" || fail "msiexec /i failed"
  wine reg query "$uninstall\\$(product "$older")" </dev/null >/dev/null 2>&1 && fail "the older version is still installed"
  key="$uninstall\\$(product "$2")"
  # Wine's msiexec puts a per-machine shortcut into the user's Start menu; Windows into all users'.
  link="$c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Corvane-Sweepmere.lnk"
  files=5 uninstaller='MsiExec.exe /X'"$(product "$2")"
else
  wine "Y:\\$setup" /S </dev/null >/dev/null 2>&1 || fail "the installer failed"
  key="$uninstall\\Corvane-Sweepmere"
  files=6 uninstaller='"C:\Program Files\Corvane-Sweepmere\Uninstall.exe"'
  [ -f "$dir/Uninstall.exe" ] || fail "no uninstaller"
fi

cmp -s "$dir/CorvaneSweepmere.exe" "$build/bin/CorvaneSweepmere.exe" || fail "the installed exe differs from the built one"
cmp -s "$dir/sweepmere.exe" "$build/bin/sweepmere.exe" || fail "the installed sweepmere.exe differs from the built one"
cmp -s "$dir/HELP.chm" "$build/bin/HELP.chm" || fail "the installed help file differs from the built one"
cmp -s "$dir/policies/en-US/Corvane-Sweepmere.adml" "$here/../../policies/en-US/Corvane-Sweepmere.adml" || fail "no policy template"
[ "$(find "$dir" -type f | wc -l)" -eq $files ] || fail "unexpected files installed: $(find "$dir" -type f)"
[ -f "$link" ] || fail "no Start-menu shortcut"
[ "$(regvalue "$key" DisplayName)" = "Corvane-Sweepmere" ] || fail "no uninstall entry"
[ "$(regvalue "$key" DisplayVersion)" = "$version" ] || fail "uninstall entry without the version"
[ "$(regvalue "$key" UninstallString)" = "$uninstaller" ] || fail "uninstall entry names $(regvalue "$key" UninstallString)"

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

if [ $kind = msi ]; then
  msi /x "Y:\\$setup" || fail "msiexec /x failed"
else
  wine 'C:\Program Files\Corvane-Sweepmere\Uninstall.exe' /S </dev/null >/dev/null 2>&1 || fail "the uninstaller failed"
fi
# The NSIS uninstaller runs on from a copy of itself: wait for it to finish.
for _ in $(seq 300); do [ -e "$dir" ] || [ -e "$link" ] || break; sleep 0.1; done
[ ! -e "$dir" ] || fail "left behind: $(find "$dir")"
[ ! -e "$link" ] || fail "the Start-menu shortcut is left"
wine reg query "$key" </dev/null >/dev/null 2>&1 && fail "the uninstall entry is left"
[ "$(traces)" = "$before" ] || fail "left behind: $(traces)"
echo "$kind: installed, opened Help, uninstalled: nothing left"
