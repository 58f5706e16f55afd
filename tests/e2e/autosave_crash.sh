#!/bin/bash
# A crash loses only the last moments. On a generated grid picture: fill,
# undo, two fills, a brush stroke (written in the background within a few
# seconds), three undos, more painting, the next picture and back (the
# colouring as painted), one more fill, a pause, then SIGKILL and a new
# start: the colouring comes back from the files written in the background,
# which decode and hold exactly what the screen showed.
. "$(dirname "$0")/lib.sh" || exit 1
. "$(dirname "$0")/grid.sh" || exit 1
e2e_begin
start_xvfb 400
make_grid_pictures "$E2E_TMP/catalog"
use_grid_catalog "$E2E_TMP/catalog"
start_tintwell
raw_shot
find_grid
saved=$(SAVED_DIR)

# What each box of the first picture should show, "F S".
declare -A want
for ((b = 0; b < GRID_BOXES; b++)); do want[$b]="$GRID_WHITE $GRID_WHITE"; done
paint() { default_colour 0 "${PAINT_WELLS[$1]}"; }

# Whether the last screenshot shows every box as wanted; the first box that
# does not is left in "mismatch".
screen_matches() {
  local b got
  for ((b = 0; b < GRID_BOXES; b++)); do
    got=$(screen_box "$b")
    read -r gf gs <<<"$got"
    read -r wf ws <<<"${want[$b]}"
    colour_near "$gf" "$wf" 2 && colour_near "$gs" "$ws" 2 ||
      { mismatch="box $b shows $got, expected ${want[$b]}"; return 1; }
  done
}

# Waits for the screen to show every box as wanted.
check_screen() {
  local what=$1 deadline=$((SECONDS + E2E_SETTLE)) mismatch=""
  until raw_shot && screen_matches; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$what: $mismatch"
    sleep 0.1
  done
  e2e_log "ok: $what (screen)"
}

# The colour file matches every box exactly; the outline file, if there,
# decodes too.
file_matches() {
  local b
  [ -f "$saved/alpha.twf.colour.gif" ] || return 1
  decode_stored "$saved/alpha.twf.colour.gif" "$E2E_TMP/alpha.rgb"
  for ((b = 0; b < GRID_BOXES; b++)); do
    [ "$(file_box "$E2E_TMP/alpha.rgb" "$b")" = "${want[$b]}" ] || return 1
  done
  if [ -f "$saved/alpha.twf.outline.gif" ]; then
    decode_stored "$saved/alpha.twf.outline.gif" "$E2E_TMP/alpha-mask.rgb"
  fi
  return 0
}

# Waits until the colour file holds what the screen shows; the program
# writes it by itself a few seconds after the last action.
wait_for_file() {
  local what=$1 since=$2 i
  for i in $(seq 1 50); do
    if file_matches; then
      e2e_log "ok: $what (stored $(( $(date +%s%3N) - since )) ms after the last action)"
      return 0
    fi
    sleep 0.2
  done
  fail "$what: the stored colouring never matched the screen"
}

# Fill box 0, undo it, fill boxes 1 and 2, brush across box 3.
choose_well 0
fill_box 0
key ctrl+z
choose_well 1
fill_box 1
want[1]="$(paint 1) $(paint 1)"
choose_well 2
fill_box 2
want[2]="$(paint 2) $(paint 2)"
choose_tool 1
choose_well 3
stroke_box 3
last=$(date +%s%3N)
want[3]="$GRID_WHITE $(paint 3)"
check_screen "fill, undo, two fills and a stroke"
wait_for_file "fill, undo, two fills and a stroke" "$last"

# Three undos take the stroke and both fills back.
key ctrl+z
key ctrl+z
key ctrl+z
last=$(date +%s%3N)
want[1]="$GRID_WHITE $GRID_WHITE"
want[2]="$GRID_WHITE $GRID_WHITE"
want[3]="$GRID_WHITE $GRID_WHITE"
check_screen "three undos"
wait_for_file "three undos" "$last"
[ -f "$saved/alpha.twf.outline.gif" ] || fail "no outline file after the undos"

# Painting again, then the next picture and back.
choose_tool 0
choose_well 4
fill_box 5
want[5]="$(paint 4) $(paint 4)"
choose_tool 1
choose_well 5
stroke_box 6
want[6]="$GRID_WHITE $(paint 5)"
key Next
next_shown() { raw_shot && [ "$(screen_box 5)" = "$GRID_WHITE $GRID_WHITE" ]; }
deadline=$((SECONDS + E2E_SETTLE))
until next_shown; do
  [ "$SECONDS" -lt "$deadline" ] || fail "the next picture shows the first one's fill"
  sleep 0.1
done
key Prior
check_screen "back from the next picture"
file_matches || fail "the colouring stored on leaving the picture differs from the screen"

# One more fill, a pause for the background write, and the kill.
choose_tool 0
choose_well 6
fill_box 7
last=$(date +%s%3N)
want[7]="$(paint 6) $(paint 6)"
check_screen "one more fill"
wait_for_file "one more fill" "$last"
kill -KILL "$E2E_APP_PID"
wait "$E2E_APP_PID" 2>/dev/null
E2E_APP_PID=""
e2e_log "killed; starting again"

start_tintwell
check_screen "after the kill and a new start"
file_matches || fail "the stored colouring after the new start differs"
leftovers=$(find "$saved" -name '*.tmp')
[ -z "$leftovers" ] || fail "temporary files left in the save folder: $leftovers"
e2e_log "autosave crash: passed"
