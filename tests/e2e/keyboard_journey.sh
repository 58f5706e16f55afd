#!/bin/bash
# Keyboard only, from start to end: the arrows steer the pointer onto the
# head and Space fills it, Ctrl+S opens the save dialog and Return saves,
# then the pointer is steered onto the close button, Space presses it,
# Return answers Yes and Return closes the farewell. The mouse is never
# used; the saved file holds the filled head.
. "$(dirname "$0")/lib.sh" || exit 1
e2e_begin identify
start_xvfb 300
# BMP at the full size keeps every colour exact.
config_set Main SaveMode 2
config_set Main SaveSize 2
start_tintwell
paint=$(default_colour 0 0)

# Keys to the main window, as keyboard_line does.
main_keys() {
  xdotool key --window "$E2E_WID" --delay 40 "$@" 2>/dev/null
  sleep 0.3
}
# Keys to whatever window has the keyboard now (a dialog).
focused_keys() {
  xdotool key --delay 60 "$@" 2>/dev/null
  sleep 0.3
}

# Steers the pointer from where it is to a design point: steps of eight
# with Shift, then single steps.
steer_to() {
  local X Y SCREEN WINDOW dx dy keys=() i
  eval "$(xdotool getmouselocation --shell)"
  dx=$((WIN_X + $1 - X))
  dy=$((WIN_Y + $2 - Y))
  local right=Right left=Left down=Down up=Up
  for ((i = 0; i < ${dx#-} / 8; i++)); do keys+=("shift+$([ "$dx" -ge 0 ] && echo $right || echo $left)"); done
  for ((i = 0; i < ${dx#-} % 8; i++)); do keys+=("$([ "$dx" -ge 0 ] && echo $right || echo $left)"); done
  for ((i = 0; i < ${dy#-} / 8; i++)); do keys+=("shift+$([ "$dy" -ge 0 ] && echo $down || echo $up)"); done
  for ((i = 0; i < ${dy#-} % 8; i++)); do keys+=("$([ "$dy" -ge 0 ] && echo $down || echo $up)"); done
  [ ${#keys[@]} -eq 0 ] || "$3" "${keys[@]}"
  eval "$(xdotool getmouselocation --shell)"
  [ $((X - WIN_X)) -eq "$1" ] && [ $((Y - WIN_Y)) -eq "$2" ] ||
    fail "steered to design $((X - WIN_X)),$((Y - WIN_Y)) instead of $1,$2"
}

# shellcheck disable=SC2086
steer_to $HEAD main_keys
main_keys space
# shellcheck disable=SC2086
wait_for 5 pixel_is $HEAD "$paint" 0 || fail "Space did not fill the head"

main_keys ctrl+s
# shellcheck disable=SC2086
wait_for 5 pixel_is $SAVE_BUTTON "$YES_GREEN" 40 || fail "the save dialog did not appear"
focused_keys Return
saved="$HOME/Pictures/Tintwell/saved/teddy.001.bmp"
for _ in $(seq 1 40); do
  [ -s "$saved" ] && break
  sleep 0.25
done
[ -s "$saved" ] || fail "Return in the save dialog saved nothing (found: $(ls -R "$HOME/Pictures" 2>&1))"
read -r w h <<<"$(identify -format '%w %h' "$saved")"
read -r hx hy <<<"$HEAD"
fx=$(((hx - PIC_LEFT) * w / PIC_WIDTH))
fy=$(((hy - PIC_TOP) * h / PIC_HEIGHT))
got=$(file_pixel "$saved" "$fx" "$fy")
colour_near "$got" "$paint" 0 || fail "the saved head is $got, expected $paint"
e2e_log "ok: saved $saved with the filled head"

# The dialog goes, and the main window has the keys again.
# shellcheck disable=SC2086
wait_for 5 eval '! pixel_is $SAVE_BUTTON "$YES_GREEN" 40' || fail "the save dialog stayed open"
sleep 0.3
# shellcheck disable=SC2046
steer_to $(close_point) main_keys
main_keys space
# shellcheck disable=SC2086
wait_for 5 pixel_is $CLOSE_YES "$YES_GREEN" 40 || fail "the close dialog did not appear"
focused_keys Return
# shellcheck disable=SC2086
wait_for 5 pixel_is $FAREWELL_OK "$YES_GREEN" 40 || fail "the farewell dialog did not appear"
focused_keys Return
wait_app_exit 10
e2e_log "keyboard journey: passed"
