#!/usr/bin/env bash
# Gives a Wine prefix Wine's own Marlett and Tahoma. This Wine does not find its font folder, so
# without copies every face falls to Liberation Sans, caption buttons lose Marlett (they show
# "0 1 r"), and Cyrillic text in an edit box crashes Wine's OpenType code (a fault in its GPOS
# lookup with that font). The dialogs' "MS Sans Serif" is drawn with Tahoma, as "MS Shell Dlg" is.
# Done once per prefix (marker .corvane-fonts). Usage: WINEPREFIX=... wine-fonts.sh
set -euo pipefail
prefix="${WINEPREFIX:-$HOME/.wine}"
[ -f "$prefix/.corvane-fonts" ] && exit 0
fonts=$(find /usr/share/wine/fonts /usr/lib/wine /usr/lib/x86_64-linux-gnu/wine -name marlett.ttf -printf '%h\n' 2>/dev/null | head -n 1 || true)
[ -n "$fonts" ] || { echo "Wine's fonts (Debian package fonts-wine) are missing" >&2; exit 1; }
mkdir -p "$prefix/drive_c/windows/Fonts"
for f in marlett tahoma tahomabd; do cp "$fonts/$f.ttf" "$prefix/drive_c/windows/Fonts/"; done
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
for v in 'Marlett (TrueType)=marlett.ttf' 'Tahoma (TrueType)=tahoma.ttf' 'Tahoma Bold (TrueType)=tahomabd.ttf'; do
  wine reg add "$key\Fonts" /v "${v%%=*}" /d "${v#*=}" /f >/dev/null 2>&1 </dev/null
done
wine reg add "$key\FontSubstitutes" /v 'MS Sans Serif' /d Tahoma /f >/dev/null 2>&1 </dev/null
touch "$prefix/.corvane-fonts"
