#!/bin/sh
# Regenerates every picture in res/images (icons, bitmaps, the sweep GIF).
#
# Needs only Debian packages:
#   apt-get install -y --no-install-recommends python3 python3-pil fonts-dejavu-core
# (python3-pil is Pillow for Debian's /usr/bin/python3; the DejaVu Sans fonts
# draw the product name and the toolbar captions.)
#
# Usage: res/tools/make_images.sh [OUTPUT_DIR]   (default: res/images)
# The drawing lives in make_images.py beside this script. The output is
# deterministic: the same packages give the same bytes on every run. The
# generated files are committed, so building the program does not run this.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-"$here/../images"}

# Debian's interpreter, where python3-pil is installed; fall back to PATH.
py=/usr/bin/python3
[ -x "$py" ] || py=$(command -v python3)

if ! "$py" -c 'import PIL' 2>/dev/null; then
    echo "make_images.sh: Pillow is missing (apt-get install python3-pil)" >&2
    exit 1
fi
for f in DejaVuSans.ttf DejaVuSans-Bold.ttf; do
    if [ ! -f "/usr/share/fonts/truetype/dejavu/$f" ]; then
        echo "make_images.sh: font $f is missing (apt-get install fonts-dejavu-core)" >&2
        exit 1
    fi
done

mkdir -p "$out"
rm -f "$out"/*.ico "$out"/*.bmp "$out"/*.gif
"$py" "$here/make_images.py" "$out"
