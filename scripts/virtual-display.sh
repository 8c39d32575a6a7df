# Sourced by the scripts that need a display of their own: starts Xvfb on the first free display
# number in FIRST..LAST (its size VIRTUAL_SCREEN, 1280x1024x24 unless set), exports DISPLAY and
# sets xvfb_pid (empty when none was free).
# Usage: start_virtual_display FIRST LAST
# clean_up_on_exit BUILD_DIR_OF_PREFIX: at exit, stops that prefix's Wine and the display started here.
xvfb_pid=""
clean_up_on_exit() {
  _prefix_home="$1"
  trap 'WINEPREFIX="$_prefix_home/test-prefix" HOME="$_prefix_home/test-home" wineserver -k >/dev/null 2>&1 </dev/null || true
        [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
}
start_virtual_display() {
  xvfb_pid=""
  for n in $(seq "$1" "$2"); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${VIRTUAL_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 </dev/null &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    return 0
  done
}
