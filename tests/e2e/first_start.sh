#!/bin/bash
# First start with a fresh HOME: the first shipped picture is fitted to the
# painting area and centred in it, the paint tray holds the first palette's
# paints and the title line carries the picture's title.
. "$(dirname "$0")/lib.sh" || exit 1
e2e_begin
start_xvfb 100
start_tintwell
shot

# Fitted: the picture (line art on white) runs from the painting area's top
# to its bottom at the middle column and leaves background on both sides.
hx=$CX
expect_pixel "picture top row" "$hx" "$PIC_TOP" "255,255,255" 0
expect_pixel_not "frame above the picture" "$hx" "$((PIC_TOP - 2))" "255,255,255" 0
expect_pixel "picture bottom row" "$hx" "$PIC_BOTTOM" "255,255,255" 0
expect_pixel_not "frame below the picture" "$hx" "$((PIC_BOTTOM + 3))" "255,255,255" 0

# Centred: the white picture and the background around it share their
# middle on a row through the bear's body.
row=$(row_pixels 300 140 $((WIN_W - 1)))
bg_first=$(awk '$2 == "#FDF5E8" { print $1; exit }' <<<"$row")
bg_last=$(awk '$2 == "#FDF5E8" { x = $1 } END { print x }' <<<"$row")
pic_first=$(awk '$2 == "#FFFFFF" { print $1; exit }' <<<"$row")
pic_last=$(awk '$2 == "#FFFFFF" { x = $1 } END { print x }' <<<"$row")
[ -n "$bg_first" ] && [ -n "$pic_first" ] || fail "no background or picture on row 300"
e2e_log "area $bg_first..$bg_last, picture $pic_first..$pic_last"
[ "$pic_first" -gt "$bg_first" ] && [ "$pic_last" -lt "$bg_last" ] || fail "the picture is not inside the area"
off=$(((pic_first + pic_last) - (bg_first + bg_last)))
[ "${off#-}" -le 3 ] || fail "the picture is off centre by $off/2 pixels"
# Fitted by height: the picture is taller than wide in the area, so the
# width is below the area's.
[ $((pic_last - pic_first)) -lt $((bg_last - bg_first)) ] || fail "picture wider than the area"

# The paint tray shows palette 0: a few wells against the defaults file.
for i in 0 4 10 16 19; do
  # shellcheck disable=SC2046
  expect_pixel "well $i" $(well_point "$i") "$(default_colour 0 "$i")" 2
done

# The title line holds dark text; another picture's title looks different.
share=$(dark_share 25 38 260 18)
e2e_log "dark share of the title strip: $share"
awk -v s="$share" 'BEGIN { exit !(s > 0.05) }' || fail "no title text in the title strip ($share)"
before=$(convert "$E2E_SHOT" -crop "260x18+$((WIN_X + 25))+$((WIN_Y + 38))" +repage -threshold 35% -format '%#' info:)
key Next
title_changed() {
  after=$(convert "$E2E_SHOT" -crop "260x18+$((WIN_X + 25))+$((WIN_Y + 38))" +repage -threshold 35% -format '%#' info:)
  [ "$before" != "$after" ]
}
wait_for "$E2E_SETTLE" title_changed || fail "the title line did not change with the picture"
e2e_log "first start: passed"
