#!/bin/bash
# A laptop screen too small for the window at its scale: 1280x800 at a
# scale of 2 shows only 640x400 logical pixels. The program starts at the
# largest scale that holds its window instead, so the window lies whole on
# the screen.
. "$(dirname "$0")/lib.sh" || exit 1
e2e_begin
start_xvfb 150
export QT_SCALE_FACTOR=2
"$TINTWELL" >>"$E2E_TMP/tintwell.log" 2>&1 &
E2E_APP_PID=$!
E2E_WID=$(timeout 20 xdotool search --sync --name '^Tintwell$' 2>/dev/null | head -n1)
[ -n "$E2E_WID" ] || fail "the main window did not appear: $(tail -5 "$E2E_TMP/tintwell.log")"

grep -q "too small for the window at a scale of 2; using 1.48" "$E2E_TMP/tintwell.log" ||
  fail "the program did not say which scale it took: $(cat "$E2E_TMP/tintwell.log")"

# The window's place in screen pixels, once it has been maximised.
fits() {
  local X="" Y="" WIDTH="" HEIGHT="" SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$E2E_WID" 2>/dev/null)"
  [ -n "$WIDTH" ] || return 1
  GEOMETRY="${WIDTH}x${HEIGHT}+${X}+${Y}"
  # At a scale of 2 the window's least size would not fit at all.
  [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1280 ] && [ $((Y + HEIGHT)) -le 800 ]
}
GEOMETRY=unknown
wait_for "$E2E_SETTLE" fits || fail "the window does not lie whole on the screen: $GEOMETRY"
e2e_log "window $GEOMETRY on a 1280x800 screen"

stop_tintwell
e2e_log "small screen: passed"
