#!/usr/bin/env bash
# A small ext2 volume of its own for tests of real bytes, mapped to drive T: of the build folder's
# test prefix (never the host's disk). ext2 with no reserved blocks: a fill reaches every free
# block, and there is no journal holding other copies.
# The drive letter maps to a folder inside the mount: mapped to the mount itself, Wine cannot tell
# the volume's label and kind.
#   test-volume.sh mount   BUILD_DIR [SIZE]   makes, mounts and maps the volume (64M); prints its folder
#   test-volume.sh unmount BUILD_DIR          restarts the prefix's Wine without T:, unmounts; the image stays
#   test-volume.sh deleted BUILD_DIR TEXT     writes 24 MiB of TEXT on the mounted volume and deletes it
#   test-volume.sh grep    BUILD_DIR TEXT     prints how often TEXT occurs in the raw image (unmounted)
#   test-volume.sh remove  BUILD_DIR          unmounts when mounted and removes the image
# Runs as root (loop mounts); fails, never skips, when the volume cannot be made.
set -euo pipefail
cmd=${1:?usage: test-volume.sh mount|unmount|grep|remove BUILD_DIR ...}
build=$(cd "${2:?build folder}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
dir="$build/test-volume"
img="$dir/vol.img"
mnt="$dir/mnt"
export HOME="$build/test-home"
export WINEPREFIX="$build/test-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
drive="$WINEPREFIX/dosdevices/t:"

stop_wine() { wineserver -k >/dev/null 2>&1 </dev/null || true; wineserver -w >/dev/null 2>&1 </dev/null || true; }

detach() {
  stop_wine
  rm -f "$drive"
  if mountpoint -q "$mnt"; then umount "$mnt" || umount -l "$mnt"; fi
}

# The prefix's Wine started again detached from any pipe (a test started after this one would
# otherwise boot it with its own output and keep ctest waiting).
restart_wine() { "$here/../../scripts/prepare-prefix.sh" "$build" >/dev/null; }

case "$cmd" in
  mount)
    size=${3:-64M}
    [ "$(id -u)" -eq 0 ] || { echo "test-volume: loop mounts need root" >&2; exit 1; }
    [ -f "$WINEPREFIX/.corvane-ready" ] || "$here/../../scripts/prepare-prefix.sh" "$build" >/dev/null
    detach
    mkdir -p "$mnt"
    rm -f "$img"
    truncate -s "$size" "$img"
    mkfs.ext2 -q -F -m 0 "$img"
    mount -o loop "$img" "$mnt"
    mkdir "$mnt/vol"
    printf 'CORVANETEST' > "$mnt/vol/.windows-label"
    ln -sfn "$mnt/vol" "$drive"
    # The drive shows in GetLogicalDrives only to a wineserver started after the link.
    stop_wine
    restart_wine
    echo "$mnt/vol"
    ;;
  unmount) detach; restart_wine ;;
  deleted)
    text=${3:?text}
    mountpoint -q "$mnt" || { echo "test-volume: mount first" >&2; exit 1; }
    for i in 1 2 3 4 5 6; do head -c 4M < <(yes "$text") > "$mnt/vol/text$i.txt"; done
    sync
    rm "$mnt"/vol/text*.txt
    sync
    ;;
  grep)
    text=${3:?text}
    ! mountpoint -q "$mnt" || { echo "test-volume: unmount first" >&2; exit 1; }
    { grep -a -o -F -- "$text" "$img" || true; } | wc -l
    ;;
  remove)
    detach
    rm -rf "$dir"
    restart_wine
    ;;
  *) echo "test-volume: unknown command $cmd" >&2; exit 1 ;;
esac
