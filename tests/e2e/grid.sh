# Two generated pictures for the journeys that check stored colourings
# pixel by pixel: "alpha" and "beta", each 840x640 with a white margin of 20
# pixels around a black grid of 4 x 3 boxes of 200 pixels (lines 4 pixels
# wide), so every box is a closed region and its points are known exactly.
# Sourced after lib.sh; needs TINTWELL_PICTURE (the picture tool).
#
# Box b (0..11) is column b % 4, row b / 4. In each box the fill probe F
# lies in the upper part, and a brush stroke runs across the lower part
# through the stroke probe S, so a stroke never reaches F while a fill
# covers both.

GRID_W=840
GRID_H=640
GRID_BOXES=12
# The colour a box shows before it is painted.
GRID_WHITE="255,255,255"

# Picture coordinates of a box's probes and of its stroke's ends.
box_origin() { echo "$((20 + 200 * ($1 % 4))) $((20 + 200 * ($1 / 4)))"; }
probe_f() { set -- $(box_origin "$1"); echo "$(($1 + 100)) $(($2 + 60))"; }
probe_s() { set -- $(box_origin "$1"); echo "$(($1 + 100)) $(($2 + 140))"; }

# Writes alpha.twf and beta.twf into Folder. Beta has a diagonal line in its
# margin, so the two differ on screen.
make_grid_pictures() {
  local folder=$1 draw="" i
  [ -x "${TINTWELL_PICTURE:-}" ] || skip "the picture tool is not built (TINTWELL_PICTURE=${TINTWELL_PICTURE:-unset})"
  mkdir -p "$folder"
  for i in 0 1 2 3 4; do
    draw="$draw rectangle $((20 + 200 * i)),20 $((23 + 200 * i)),623"
  done
  for i in 0 1 2 3; do
    draw="$draw rectangle 20,$((20 + 200 * i)) 823,$((23 + 200 * i))"
  done
  convert -size "${GRID_W}x${GRID_H}" xc:white +antialias -fill black -draw "$draw" \
    -type Palette "$E2E_TMP/alpha.gif" || fail "cannot draw the grid picture"
  convert "$E2E_TMP/alpha.gif" +antialias -fill black -draw "rectangle 2,2 10,10" \
    -type Palette "$E2E_TMP/beta.gif" || fail "cannot draw the second grid picture"
  "$TINTWELL_PICTURE" pack "$E2E_TMP/alpha.gif" -o "$folder/alpha.twf" --no-lineart \
    --title en_us=Alpha --author en_us=Grid >>"$E2E_TMP/picture.log" 2>&1 ||
    fail "tintwell-picture pack: $(cat "$E2E_TMP/picture.log")"
  "$TINTWELL_PICTURE" pack "$E2E_TMP/beta.gif" -o "$folder/beta.twf" --no-lineart \
    --title en_us=Beta --author en_us=Grid >>"$E2E_TMP/picture.log" 2>&1 ||
    fail "tintwell-picture pack: $(cat "$E2E_TMP/picture.log")"
}

# The catalog of the two grid pictures, with StayColored 2.
use_grid_catalog() {
  local folder=$1
  cat >"$E2E_TMP/grid.ini" <<EOF
[Main]
PathCatalog=$folder/
StayColored=2
[Catalog]
FileCount=2
File0=alpha.twf
File1=beta.twf
EOF
  "$TINTWELL_CONFIG" --defaults "$TINTWELL_DEFAULTS" import "$E2E_TMP/grid.ini" \
    >>"$E2E_TMP/config.log" 2>&1 || fail "tintwell-config import: $(cat "$E2E_TMP/config.log")"
}

# The kept colouring files: the program's own folder in the data folder.
SAVED_DIR() { echo "$XDG_DATA_HOME/Tintwell/Colorings"; }

# A screenshot as raw RGB bytes, for many probes at little cost.
raw_shot() {
  shot
  SCREEN_W=$(identify -format '%w' "$E2E_SHOT")
  convert "$E2E_SHOT" -depth 8 "rgb:$E2E_TMP/shot.rgb" || fail "cannot convert the screenshot"
}

# "R,G,B" of pixel (X, Y) of a raw RGB file Width pixels wide.
raw_pixel() {
  od -An -tu1 -v -j $((($4 * $2 + $3) * 3)) -N3 "$1" | awk '{ printf "%d,%d,%d\n", $1, $2, $3 }'
}

# Finds the picture's grid on the screen (last raw_shot): the outermost
# dark pixels on the middle row and column of the painting area. Sets
# GRID_LEFT, GRID_RIGHT, GRID_TOP, GRID_BOTTOM in design coordinates.
find_grid() {
  local x y row=$((64 + 216)) col found
  dark() {
    local c
    c=$(raw_pixel "$E2E_TMP/shot.rgb" "$SCREEN_W" $((WIN_X + $1)) $((WIN_Y + $2)))
    IFS=, read -r r g b <<<"$c"
    [ "$r" -lt 60 ] && [ "$g" -lt 60 ] && [ "$b" -lt 60 ]
  }
  # The painting area's row in one read: its first and last dark pixels.
  found=$(od -An -tu1 -v -w3 -j $((((WIN_Y + row) * SCREEN_W + WIN_X + 144) * 3)) \
    -N $(((WIN_W - 164) * 3)) "$E2E_TMP/shot.rgb" |
    awk '$1 < 60 && $2 < 60 && $3 < 60 { if (first == "") first = NR - 1; last = NR - 1 }
         END { if (first != "") print first + 144, last + 144 }')
  [ -n "$found" ] || fail "no grid on the screen"
  read -r GRID_LEFT GRID_RIGHT <<<"$found"
  # Down the first column of boxes, clear of the vertical lines.
  col=$((GRID_LEFT + 30))
  for ((y = 64; y < 496; y++)); do dark "$col" "$y" && { GRID_TOP=$y; break; }; done
  for ((y = 495; y > GRID_TOP; y--)); do dark "$col" "$y" && { GRID_BOTTOM=$y; break; }; done
  e2e_log "grid on screen: $GRID_LEFT..$GRID_RIGHT x $GRID_TOP..$GRID_BOTTOM"
}

# The design point of picture point (PX, PY): the grid runs from picture
# pixel 20 to 823 across and 20 to 623 down.
grid_point() {
  echo "$((GRID_LEFT + ($1 - 20) * (GRID_RIGHT - GRID_LEFT) / 803))" \
    "$((GRID_TOP + ($2 - 20) * (GRID_BOTTOM - GRID_TOP) / 603))"
}

# The colours used for painting: the first palette's wells except white
# (17) and the near-black 19.
PAINT_WELLS=(0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 18)

# Quick input: the lib's click_at and drag_path wait longer than needed here.
quick_click() {
  mouse_to "$1" "$2"
  xdotool click 1
  sleep 0.08
}

choose_well() {
  # shellcheck disable=SC2046
  quick_click $(well_point "$1")
}

choose_tool() {
  # shellcheck disable=SC2046
  quick_click $(tool_point "$1")
}

# A fill of box B (the current tool must be the fill).
fill_box() {
  # shellcheck disable=SC2046
  quick_click $(grid_point $(probe_f "$1"))
}

# A brush stroke across box B's lower part through S (the current tool
# must be the brush).
stroke_box() {
  local sx sy
  read -r sx sy <<<"$(probe_s "$1")"
  mouse_to $(grid_point $((sx - 70)) "$sy")
  xdotool mousedown 1
  mouse_to $(grid_point $((sx - 20)) "$sy")
  mouse_to $(grid_point $((sx + 20)) "$sy")
  mouse_to $(grid_point $((sx + 70)) "$sy")
  xdotool mouseup 1
  sleep 0.08
}

# "F S" colours of box B on the screen (last raw_shot).
screen_box() {
  local f s
  f=$(raw_pixel "$E2E_TMP/shot.rgb" "$SCREEN_W" $(grid_point $(probe_f "$1") | awk -v x="$WIN_X" -v y="$WIN_Y" '{ print $1 + x, $2 + y }'))
  s=$(raw_pixel "$E2E_TMP/shot.rgb" "$SCREEN_W" $(grid_point $(probe_s "$1") | awk -v x="$WIN_X" -v y="$WIN_Y" '{ print $1 + x, $2 + y }'))
  echo "$f $s"
}

# Decodes a stored colour file into raw RGB at Out; fails when it does not
# decode or is not the picture's size.
decode_stored() {
  local file=$1 out=$2 size
  size=$(identify -format '%wx%h' "$file" 2>>"$E2E_TMP/identify.log") ||
    fail "the stored file $file does not decode: $(tail -2 "$E2E_TMP/identify.log")"
  [ "$size" = "${GRID_W}x${GRID_H}" ] || fail "the stored file $file is $size"
  convert "$file" -depth 8 "rgb:$out" 2>>"$E2E_TMP/identify.log" || fail "cannot decode $file"
}

# "F S" colours of box B in a decoded stored file.
file_box() {
  echo "$(raw_pixel "$1" "$GRID_W" $(probe_f "$2")) $(raw_pixel "$1" "$GRID_W" $(probe_s "$2"))"
}
