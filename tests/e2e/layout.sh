# Design points of the main window and of the first shipped picture (the
# teddy bear) as the program lays them out in its 772x560 design client
# area; right-anchored controls follow the real window width.

# The paint tray: wells 0..9 down the left column, 10..19 down the right.
well_point() {
  local i=$1
  echo "$((i < 10 ? 37 : 102)) $((120 + 35 * (i % 10) + (i % 10) / 2))"
}

# The tool buttons fill, brush, masked brush, dropper, marker, eraser, tap.
tool_point() { echo "$((32 + 52 * $1)) 528"; }

close_point() { echo "$((756 + WIN_W - 772)) 15"; }

PIC_TOP=64
PIC_BOTTOM=495

# The points that follow the window's real width (without a window manager
# it may be a little wider than designed): the painting area stretches, and
# the dialogs are centred over the window. Called once the window is found.
layout_points() {
  # The middle column of the painting area (design 144..752 plus the extra width).
  CX=$((144 + (WIN_W - 164) / 2))
  # The teddy bear, fitted to the painting area's height (432) and centred.
  # White regions bounded by black lines, probed once on the rendered picture:
  HEAD="$CX 150"   # the head above the eyes
  BELLY="$CX 330"  # the belly between the arms
  PIC_LEFT=$((CX - 189))
  # The close dialog's Yes and the information dialog's OK (the farewell
  # and the messages).
  CLOSE_YES="$((WIN_W / 2 - 76)) 332"
  FAREWELL_OK="$((WIN_W / 2 + 191)) 437"
  # The save dialog's Save button (the dialog opens collapsed, centred).
  SAVE_BUTTON="$((WIN_W / 2 + 126)) 268"
}

# The green of the Yes and OK buttons.
YES_GREEN="90,180,90"

# The picture's size on the screen at start: 379 columns, rows 64..495.
PIC_WIDTH=379
PIC_HEIGHT=432

# The first mix well (the mix tray holds twelve, from the left).
MIX_WELL0="398 528"
