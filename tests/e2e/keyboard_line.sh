#!/bin/bash
# Keyboard only: Enter steps from the fill tool to the brush, the arrows
# steer the pointer and a held Space paints a line along the belly.
. "$(dirname "$0")/lib.sh" || exit 1
e2e_begin
start_xvfb 200
start_tintwell
paint=$(default_colour 0 1)  # the paint after the first, one "." on

# The pointer starts on the belly; from here on only keys.
x0=$((CX - 56))
mouse_to "$x0" 330
key Return
key period
xdotool keydown --window "$E2E_WID" space 2>/dev/null
sleep 0.2
for _ in 1 2 3 4 5 6 7 8 9 10 11 12; do key shift+Right; done
xdotool keyup --window "$E2E_WID" space 2>/dev/null
# Twelve steps of eight pixels: a line 96 pixels long.
pointer_at_end() {
  local X=-1 Y=-1 SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell)"
  [ $((X - WIN_X)) -eq $((x0 + 96)) ] && [ $((Y - WIN_Y)) -eq 330 ]
}
wait_for "$E2E_SETTLE" pointer_at_end || fail "the arrows did not move the pointer by 96 pixels"
shot
for x in $((x0 + 4)) $((x0 + 30)) $((x0 + 50)) $((x0 + 70)) $((x0 + 92)); do
  expect_pixel "the line at $x" "$x" 330 "$paint" 0
done
expect_pixel "above the line" "$CX" 345 "255,255,255" 0
expect_pixel "below the line" "$CX" 315 "255,255,255" 0
# The fill tool would have flooded the whole belly.
expect_pixel "the belly outside the line" "$CX" 380 "255,255,255" 0
e2e_log "keyboard line: passed"
