#!/bin/bash
# A colouring survives stepping through the catalog and a restart: fill a
# region with a chosen paint, brush a stroke and undo it, step to the next
# picture and back, quit with Yes and start again (StayColored 2 keeps every
# picture's colouring). The save folder holds the parent's own pictures,
# named like every catalog picture: the colourings go to the program's own
# folder, and the parent's files stay byte for byte.
. "$(dirname "$0")/lib.sh" || exit 1
e2e_begin
start_xvfb 150
config_set Main StayColored 2
parents="$HOME/Pictures/Tintwell/saved"
mkdir -p "$parents"
for twf in "$(dirname "$TINTWELL")"/catalog/*.twf; do
  name=$(basename "$twf" .twf)
  echo "the parent's own $name" >"$parents/$name.gif"
  echo "the parent's own $name outline" >"$parents/$name.Mask.gif"
done
(cd "$parents" && md5sum ./* >"$E2E_TMP/parents.md5")
start_tintwell

red=$(default_colour 0 0)
sky=$(default_colour 0 10)
# Fill is the tool at start; the first well's paint fills the head.
# shellcheck disable=SC2046
click_at $(well_point 0)
# shellcheck disable=SC2086
click_at $HEAD
shot
expect_pixel "filled head" $HEAD "$red" 0

# A brush stroke across the belly with the sky-blue paint, then undo.
# shellcheck disable=SC2046
click_at $(tool_point 1)
# shellcheck disable=SC2046
click_at $(well_point 10)
drag_path $((CX - 46)) 330 $((CX - 16)) 332 $((CX + 14)) 334 $((CX + 44)) 336
shot
expect_pixel "brushed belly" $((CX - 1)) 331 "$sky" 0
key ctrl+z
shot
expect_pixel "the stroke undone" $((CX - 1)) 331 "255,255,255" 0
expect_pixel "the fill kept by the undo of the stroke" $HEAD "$red" 0

# The next picture is fresh; stepping back shows the fill again.
key Next
shot
expect_pixel_not "the next picture is another one" $HEAD "$red" 10
key Prior
shot
expect_pixel "the fill after stepping back" $HEAD "$red" 0
expect_pixel "no stroke after stepping back" $((CX - 1)) 331 "255,255,255" 0

quit_with_yes
e2e_log "closed; starting again"
start_tintwell
shot
expect_pixel "the fill after a restart" $HEAD "$red" 0
expect_pixel "no stroke after a restart" $((CX - 1)) 331 "255,255,255" 0
(cd "$parents" && md5sum --quiet -c "$E2E_TMP/parents.md5") ||
  fail "the parent's files in the save folder changed"
[ "$(ls "$parents" | wc -l)" -eq "$(wc -l <"$E2E_TMP/parents.md5")" ] ||
  fail "files appeared in the save folder: $(ls "$parents")"
ls "$XDG_DATA_HOME"/Tintwell/Colorings/*.twf.colour.gif >/dev/null 2>&1 ||
  fail "no colouring in the program's own folder"
e2e_log "colouring kept: passed"
