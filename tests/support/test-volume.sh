#!/usr/bin/env bash
# A small volume of its own for tests of real bytes, mapped to drive T: of the build folder's
# test prefix (never the host's disk): ext2 with no reserved blocks (a fill reaches every free
# block, and no journal holds other copies), or NTFS through ntfs-3g, where small files live inside
# their file records and names in the folders' indexes.
# The drive letter maps to a folder inside the mount: mapped to the mount itself, Wine cannot tell
# the volume's label and kind.
#   test-volume.sh mount   BUILD_DIR [SIZE] [ext2|ntfs]  makes, mounts and maps the volume (64M, ext2);
#                                                        prints its folder
#   test-volume.sh unmount BUILD_DIR          restarts the prefix's Wine without T:, unmounts; the image stays
#   test-volume.sh deleted BUILD_DIR TEXT     writes 24 MiB of TEXT on the mounted volume and deletes it,
#                                             and small files named and filled with TEXT (in file records on NTFS)
#   test-volume.sh grep    BUILD_DIR TEXT     prints how often TEXT occurs in the raw image (unmounted)
#   test-volume.sh names   BUILD_DIR TEXT     the same for TEXT as names are kept (UTF-16LE on NTFS)
#   test-volume.sh loose-names BUILD_DIR TEXT the same, leaving out what lies in a folder's index on NTFS
#   test-volume.sh tsk     BUILD_DIR TEXT     on NTFS: how many deleted records The Sleuth Kit lists by a
#                                             name holding TEXT, plus how many of all deleted records'
#                                             contents it recovers with TEXT in them; 0 on ext2
#   test-volume.sh remove  BUILD_DIR          unmounts when mounted and removes the image
# Runs as root (loop mounts, /dev/fuse); fails, never skips, when the volume cannot be made.
set -euo pipefail
cmd=${1:?usage: test-volume.sh mount|unmount|grep|remove BUILD_DIR ...}
build=$(cd "${2:?build folder}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
dir="$build/test-volume"
img="$dir/vol.img"
mnt="$dir/mnt"
kind=$(cat "$dir/kind" 2>/dev/null || echo ext2)
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
  # ntfs-3g writes its last changes as it ends.
  if [ -f "$dir/ntfs-3g.pid" ]; then
    local pid; pid=$(cat "$dir/ntfs-3g.pid")
    while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
    rm -f "$dir/ntfs-3g.pid"
  fi
}

# The prefix's Wine started again detached from any pipe (a test started after this one would
# otherwise boot it with its own output and keep ctest waiting).
restart_wine() { "$here/../../scripts/prepare-prefix.sh" "$build" >/dev/null; }

case "$cmd" in
  mount)
    size=${3:-64M} kind=${4:-ext2}
    [ "$(id -u)" -eq 0 ] || { echo "test-volume: loop mounts need root" >&2; exit 1; }
    [ -f "$WINEPREFIX/.corvane-ready" ] || "$here/../../scripts/prepare-prefix.sh" "$build" >/dev/null
    detach
    mkdir -p "$mnt"
    rm -f "$img"
    truncate -s "$size" "$img"
    echo "$kind" > "$dir/kind"
    case "$kind" in
      ext2) mkfs.ext2 -q -F -m 0 "$img"; mount -o loop "$img" "$mnt" ;;
      ntfs)
        [ -c /dev/fuse ] || { echo "test-volume: NTFS needs /dev/fuse" >&2; exit 1; }
        mkntfs -F -Q -q "$img" >/dev/null 2>&1
        # In the foreground, as a child of ours: unmounting then waits for it by its own id.
        ntfs-3g -o no_detach,hard_remove "$img" "$mnt" </dev/null >/dev/null 2>&1 &
        echo $! > "$dir/ntfs-3g.pid"
        for _ in $(seq 200); do mountpoint -q "$mnt" && break; sleep 0.05; done
        mountpoint -q "$mnt" || { echo "test-volume: ntfs-3g did not mount" >&2; exit 1; } ;;
      *) echo "test-volume: unknown kind $kind" >&2; exit 1 ;;
    esac
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
    mkdir "$mnt/vol/small"
    for i in 1 2 3 4 5 6 7 8; do head -c 300 < <(yes "$text") > "$mnt/vol/small/$text-$i.txt"; done
    sync
    rm -r "$mnt"/vol/text*.txt "$mnt/vol/small"
    sync
    ;;
  grep)
    text=${3:?text}
    ! mountpoint -q "$mnt" || { echo "test-volume: unmount first" >&2; exit 1; }
    { grep -a -o -F -- "$text" "$img" || true; } | wc -l
    ;;
  names|loose-names)
    text=${3:?text}
    ! mountpoint -q "$mnt" || { echo "test-volume: unmount first" >&2; exit 1; }
    # ext2 keeps names in 8 bits (UTF-8), NTFS in 16. Loose ones lie outside every folder's index:
    # neither in the record of a folder in use (1024-byte records, flags 3) nor in an index block.
    code=utf-16-le; [ "$kind" = ntfs ] || code=utf-8
    /usr/bin/python3 - "$img" "$text" $code "$cmd" <<'PY'
import re, sys
data = open(sys.argv[1], "rb").read()
at = [m.start() for m in re.finditer(re.escape(sys.argv[2].encode(sys.argv[3])), data)]
def in_index(o):
    record, block = o // 1024 * 1024, o // 4096 * 4096
    return (data[record:record + 4] == b"FILE" and data[record + 0x16] & 3 == 3) or data[block:block + 4] == b"INDX"
print(len([o for o in at if sys.argv[4] == "names" or sys.argv[3] == "utf-8" or not in_index(o)]))
PY
    ;;
  tsk)
    text=${3:?text}
    ! mountpoint -q "$mnt" || { echo "test-volume: unmount first" >&2; exit 1; }
    [ "$kind" = ntfs ] || { echo 0; exit 0; }
    listed=$(fls -r -d -p "$img")
    named=$({ grep -F -- "$text" <<<"$listed" || true; } | wc -l)
    recovered=0
    for inode in $(sed -n 's/^[^ ]* \* \([0-9]*\)[-0-9]*:.*/\1/p' <<<"$listed" | sort -un); do
      if icat "$img" "$inode" 2>/dev/null | grep -a -q -F -- "$text"; then recovered=$((recovered + 1)); fi
    done
    echo $((named + recovered))
    ;;
  remove)
    detach
    rm -rf "$dir"
    restart_wine
    ;;
  *) echo "test-volume: unknown command $cmd" >&2; exit 1 ;;
esac
