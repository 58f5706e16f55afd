#!/bin/bash
# Ctrl+S saves the coloured picture under the numbered name in the save
# folder below the (temporary) home, in the picture's own colours; a second
# save takes the next number and leaves the first file alone.
. "$(dirname "$0")/lib.sh" || exit 1
e2e_begin identify
start_xvfb 250
# BMP at the full size keeps every colour exact.
config_set Main SaveMode 2
config_set Main SaveSize 2
start_tintwell

red=$(default_colour 0 0)
# shellcheck disable=SC2046
click_at $(well_point 0)
# shellcheck disable=SC2086
click_at $HEAD

saved="$HOME/Pictures/Tintwell/saved"
save_once() {
  key ctrl+s
  wait_for 5 pixel_is $SAVE_BUTTON "$YES_GREEN" 40 || fail "the save dialog did not appear"
  # shellcheck disable=SC2086
  click_at $SAVE_BUTTON
  local i
  for i in $(seq 1 40); do
    [ -s "$saved/$1" ] && return 0
    sleep 0.25
  done
  fail "no $saved/$1 (found: $(ls -R "$HOME/Pictures" 2>&1))"
}
save_once teddy.001.bmp
file="$saved/teddy.001.bmp"
sum1=$(md5sum <"$file")

read -r w h <<<"$(identify -format '%w %h' "$file")"
e2e_log "saved $file, ${w}x${h}"
[ "$w" -gt 0 ] && [ "$h" -gt 0 ] || fail "the saved file does not decode"
# Fitted at the start, the picture shows at PIC_WIDTH x PIC_HEIGHT, so a
# point on the screen maps to the file by that scale.
to_file() {
  echo "$(((($1 - PIC_LEFT) * w + PIC_WIDTH / 2) / PIC_WIDTH)) $(((($2 - PIC_TOP) * h + PIC_HEIGHT / 2) / PIC_HEIGHT))"
}
ratio_diff=$((w * PIC_HEIGHT - h * PIC_WIDTH))
[ "${ratio_diff#-}" -le $((h + w)) ] || fail "the file's shape ${w}x${h} is not the picture's"
check_file() {
  local what=$1 want=$4 got
  read -r fx fy <<<"$(to_file "$2" "$3")"
  got=$(file_pixel "$file" "$fx" "$fy")
  colour_near "$got" "$want" "${5:-0}" || fail "$what: file pixel ($fx,$fy) is $got, expected $want"
  e2e_log "ok: $what (file pixel $fx,$fy is $got)"
}
# shellcheck disable=SC2086
check_file "the filled head" $HEAD "$red"
# shellcheck disable=SC2086
check_file "the white belly" $BELLY "255,255,255"
check_file "the black outline above the head" "$CX" 71 "0,0,0" 60

save_once teddy.002.bmp
[ "$(md5sum <"$file")" = "$sum1" ] || fail "the second save changed the first file"
e2e_log "save numbered: passed"
