#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
set -euo pipefail
pkgs=(cmake make g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth googletest
      fonts-wine fonts-liberation2 fonts-droid-fallback imagemagick fp-utils nsis
      clang libclang-rt-dev e2fsprogs ntfs-3g sleuthkit ccache
      nlohmann-json3-dev sqlite3 python3 python3-hivex msitools wixl python3-jsonschema
      python3-olefile)
# npm fetches the SQLite sources; a Node.js of another source brings its own npm.
command -v npm >/dev/null 2>&1 || pkgs+=(npm)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
