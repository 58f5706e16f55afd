# Harness for the end-to-end journeys: a private Xvfb display, the real
# program started with a temporary HOME, input through xdotool in the main
# window's design coordinates, and pixel probes on screenshots. Every process
# started here is ended by its process id in cleanup, which each journey
# installs as its exit trap.
#
# Each journey sources this file with TINTWELL and TINTWELL_CONFIG set to the
# built programs. Exit status 77 means skipped (with the reason on stderr).

set -u

E2E_SKIP=77
E2E_XVFB_PID=""
E2E_APP_PID=""
E2E_TMP=""
E2E_SHOT=""
WIN_X=0
WIN_Y=0

e2e_log() { echo "[$(date +%H:%M:%S)] $*" >&2; }

skip() {
  echo "SKIPPED: $*" >&2
  exit "$E2E_SKIP"
}

fail() {
  echo "FAILED: $*" >&2
  if [ -n "$E2E_TMP" ] && [ -d "$E2E_TMP" ] && [ -n "${DISPLAY:-}" ]; then
    import -window root "$E2E_TMP/failure.png" 2>/dev/null &&
      echo "screen at the failure: $E2E_TMP/failure.png (kept)" >&2
    E2E_KEEP=1
  fi
  exit 1
}

require_tools() {
  local t
  for t in Xvfb xdotool import convert "$@"; do
    command -v "$t" >/dev/null 2>&1 || skip "$t is not installed"
  done
  [ -x "${TINTWELL:-}" ] || skip "the program is not built (TINTWELL=${TINTWELL:-unset})"
}

# The temporary HOME with its own settings and picture folders.
make_home() {
  E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/tintwell-e2e.XXXXXX")
  export HOME="$E2E_TMP/home"
  export XDG_CONFIG_HOME="$HOME/.config"
  export XDG_DATA_HOME="$HOME/.local/share"
  export XDG_CACHE_HOME="$HOME/.cache"
  export XDG_RUNTIME_DIR="$E2E_TMP/run"
  mkdir -p "$HOME/Pictures" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  cat >"$XDG_CONFIG_HOME/user-dirs.dirs" <<EOF
XDG_PICTURES_DIR="$HOME/Pictures"
EOF
  export TINTWELL_SOUND=silent
  export QT_QPA_PLATFORM=xcb
  export LANG=C.UTF-8
  unset SESSION_MANAGER
}

# Xvfb on a free display number near Base. Another test may pick the same
# number at the same moment, so the server counts as ours only when the
# display's lock file names our process; otherwise the next number is tried.
start_xvfb() {
  local base=$1 n i owner
  n=$((base + RANDOM % 50))
  for _ in $(seq 1 20); do
    n=$((n + 1))
    { [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; } && continue
    # -noreset: otherwise the server resets whenever its last client leaves
    # (the program ended or killed) and refuses connections meanwhile.
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp -noreset >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    export DISPLAY=":$n"
    for i in $(seq 1 100); do
      kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
      owner=$(tr -dc '0-9' <"/tmp/.X$n-lock" 2>/dev/null)
      if [ "$owner" = "$E2E_XVFB_PID" ] && xdotool getmouselocation >/dev/null 2>&1; then
        return 0
      fi
      sleep 0.1
    done
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=""
  done
  skip "Xvfb could not start: $(cat "$E2E_TMP/xvfb.log" 2>/dev/null)"
}

# Starts the program and waits for its window and first picture.
start_tintwell() {
  "$TINTWELL" >>"$E2E_TMP/tintwell.log" 2>&1 &
  E2E_APP_PID=$!
  local wid
  wid=$(timeout 20 xdotool search --sync --name '^Tintwell$' 2>/dev/null | head -n1)
  [ -n "$wid" ] || fail "the main window did not appear: $(tail -5 "$E2E_TMP/tintwell.log")"
  E2E_WID=$wid
  window_origin
  # The picture is opened after the window shows: wait for the first
  # picture's top row (white) at the middle of the painting area.
  wait_for 15 pixel_is "$CX" "$PIC_TOP" "255,255,255" 0 || fail "the first picture did not appear"
  sleep 0.3
}

# The client area's top-left corner on the screen. A window found just
# after a kill may still be the killed program's on its way out; then its
# geometry cannot be read and the window is looked for again.
window_origin() {
  local X="" Y="" WIDTH="" HEIGHT="" SCREEN WINDOW try
  for try in $(seq 1 25); do
    eval "$(xdotool getwindowgeometry --shell "$E2E_WID" 2>/dev/null)"
    [ -n "$WIDTH" ] && break
    sleep 0.2
    E2E_WID=$(xdotool search --name '^Tintwell$' 2>/dev/null | tail -n1)
  done
  [ -n "$WIDTH" ] || fail "the main window's place cannot be read"
  WIN_X=$X
  WIN_Y=$Y
  WIN_W=$WIDTH
  WIN_H=$HEIGHT
  layout_points
}

# Waits for the program to end by itself; fails after Seconds.
wait_app_exit() {
  local seconds=$1 i
  for i in $(seq 1 $((seconds * 10))); do
    if ! kill -0 "$E2E_APP_PID" 2>/dev/null; then
      wait "$E2E_APP_PID" 2>/dev/null
      E2E_APP_PID=""
      return 0
    fi
    sleep 0.1
  done
  fail "the program did not end within ${seconds}s"
}

stop_tintwell() {
  if [ -n "$E2E_APP_PID" ]; then
    kill "$E2E_APP_PID" 2>/dev/null
    wait "$E2E_APP_PID" 2>/dev/null
    E2E_APP_PID=""
  fi
}

cleanup() {
  if [ -n "${E2E_WATCHDOG_PID:-}" ]; then
    kill "$E2E_WATCHDOG_PID" 2>/dev/null
    E2E_WATCHDOG_PID=""
  fi
  stop_tintwell
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=""
  fi
  if [ -n "$E2E_TMP" ] && [ -z "${E2E_KEEP:-}" ]; then rm -rf "$E2E_TMP"; fi
}

# Design coordinates (the 772x560 client area) to the screen.
# (--sync waits for a motion, so a move to where the pointer already is
# is skipped.)
mouse_to() {
  # A query that fails (the window under the pointer went away while it was
  # asked, as when a journey kills the program) leaves the place unknown,
  # and the pointer is simply moved.
  local X=-1 Y=-1 SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell 2>/dev/null)"
  if [ "$X" -ne $((WIN_X + $1)) ] || [ "$Y" -ne $((WIN_Y + $2)) ]; then
    xdotool mousemove --sync $((WIN_X + $1)) $((WIN_Y + $2))
  fi
}

click_at() {
  mouse_to "$1" "$2"
  sleep 0.1
  xdotool click 1
  sleep 0.3
}

# A press at one design point, moves through the following ones, release.
drag_path() {
  mouse_to "$1" "$2"
  sleep 0.1
  xdotool mousedown 1
  shift 2
  while [ $# -ge 2 ]; do
    sleep 0.05
    mouse_to "$1" "$2"
    shift 2
  done
  sleep 0.1
  xdotool mouseup 1
  sleep 0.3
}

key() {
  xdotool key --window "$E2E_WID" --delay 60 "$@" 2>/dev/null
  sleep 0.2
}

# A fresh screenshot; probes read from it.
shot() {
  E2E_SHOT="$E2E_TMP/shot.png"
  import -window root "$E2E_SHOT" 2>/dev/null || fail "no screenshot"
}

# The colour at a design point of the last screenshot, as "R,G,B".
probe_pixel() {
  convert "$E2E_SHOT" -format "%[fx:int(255*p{$((WIN_X + $1)),$((WIN_Y + $2))}.r)],%[fx:int(255*p{$((WIN_X + $1)),$((WIN_Y + $2))}.g)],%[fx:int(255*p{$((WIN_X + $1)),$((WIN_Y + $2))}.b)]" info:; echo
}

# The colour at a pixel of an image file, as "R,G,B".
file_pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:; echo
}

# A settings colour (0x00BBGGRR as a decimal) as "R,G,B".
bgr_to_rgb() { echo "$(($1 & 255)),$((($1 >> 8) & 255)),$((($1 >> 16) & 255))"; }

# Retries a command until it succeeds or Seconds have passed, with a fresh
# screenshot before each try.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  while :; do
    shot
    "$@" && return 0
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# True when the pixel at a design point is the colour, within Tolerance per channel.
pixel_is() {
  local want=$3 tol=${4:-2} got
  got=$(probe_pixel "$1" "$2")
  colour_near "$got" "$want" "$tol"
}

colour_near() {
  local a b
  IFS=, read -r a1 a2 a3 <<<"$1"
  IFS=, read -r b1 b2 b3 <<<"$2"
  for a in $((a1 - b1)) $((a2 - b2)) $((a3 - b3)); do
    b=${a#-}
    [ "$b" -le "${3:-2}" ] || return 1
  done
  return 0
}

# The expectations look at the last screenshot first and, while it does not
# show what they expect, at fresh ones, for up to E2E_SETTLE seconds: the
# program draws after the input that caused it, at its own pace, so a
# journey waits for what it expects to show rather than for a fixed time.
E2E_SETTLE=${E2E_SETTLE:-5}

expect_pixel() {
  local what=$1 x=$2 y=$3 want=$4 tol=${5:-2} got deadline=$((SECONDS + E2E_SETTLE))
  while :; do
    got=$(probe_pixel "$x" "$y")
    colour_near "$got" "$want" "$tol" && break
    [ "$SECONDS" -lt "$deadline" ] || fail "$what: at ($x,$y) found $got, expected $want"
    sleep 0.1
    shot
  done
  e2e_log "ok: $what ($got at $x,$y)"
}

expect_pixel_not() {
  local what=$1 x=$2 y=$3 want=$4 tol=${5:-2} got deadline=$((SECONDS + E2E_SETTLE))
  while :; do
    got=$(probe_pixel "$x" "$y")
    colour_near "$got" "$want" "$tol" || break
    [ "$SECONDS" -lt "$deadline" ] || fail "$what: at ($x,$y) still $got"
    sleep 0.1
    shot
  done
  e2e_log "ok: $what ($got at $x,$y)"
}

# Every journey ends by itself well before CTest's TIMEOUT (90 s): the
# watchdog ends it with a failure at E2E_LIMIT seconds, and the exit trap
# still stops what it started.
e2e_begin() {
  require_tools "$@"
  make_home
  trap cleanup EXIT
  trap 'echo "FAILED: interrupted or over the time limit" >&2; exit 1' INT TERM
  # (The watchdog takes its sleep along when it is ended, and holds none of
  # the test's output streams open.)
  local journey=$$
  (
    trap 'kill "$nap" 2>/dev/null; exit 0' TERM
    sleep "${E2E_LIMIT:-75}" &
    nap=$!
    wait "$nap" && kill -TERM "$journey"
  ) </dev/null >/dev/null 2>&1 &
  E2E_WATCHDOG_PID=$!
}

# "X #RRGGBB" for every pixel of a design row of the last screenshot,
# from design column From to To.
row_pixels() {
  local y=$1 from=$2 to=$3
  convert "$E2E_SHOT" -crop "$((to - from + 1))x1+$((WIN_X + from))+$((WIN_Y + y))" +repage txt:- |
    awk -v off="$from" 'NR > 1 { split($1, a, /[,:]/); print a[1] + off, $3 }'
}

# The share of dark pixels in a design rectangle of the last screenshot.
dark_share() {
  convert "$E2E_SHOT" -crop "$3x$4+$((WIN_X + $1))+$((WIN_Y + $2))" +repage \
    -colorspace Gray -threshold 35% -format '%[fx:1-mean]' info:
}

# A colour of the shipped defaults file, as "R,G,B".
default_colour() {
  local palette=$1 index=$2 value
  value=$(awk -v sec="[Palettes\\\\Palette$palette]" -v key="Color$index" -F= '
    /^\[/ { in_sec = ($0 == sec) }
    in_sec && $1 == key { print $2; exit }' "$TINTWELL_DEFAULTS")
  [ -n "$value" ] || fail "no colour $index in palette $palette of $TINTWELL_DEFAULTS"
  bgr_to_rgb "$value"
}

# Sets a key of the settings store with the parent's tool.
config_set() {
  "$TINTWELL_CONFIG" --defaults "$TINTWELL_DEFAULTS" set "$@" >>"$E2E_TMP/config.log" 2>&1 ||
    fail "tintwell-config set $*: $(cat "$E2E_TMP/config.log")"
}

# Closes the program the way a child does: the close button, Yes, then OK
# in the farewell dialog.
quit_with_yes() {
  # shellcheck disable=SC2046
  click_at $(close_point)
  wait_for 5 pixel_is $CLOSE_YES "$YES_GREEN" 40 || fail "the close dialog did not appear"
  # shellcheck disable=SC2086
  click_at $CLOSE_YES
  wait_for 5 pixel_is $FAREWELL_OK "$YES_GREEN" 40 || fail "the farewell dialog did not appear"
  # shellcheck disable=SC2086
  click_at $FAREWELL_OK
  wait_app_exit 10
}

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=layout.sh
. "$E2E_DIR/layout.sh"
TINTWELL_DEFAULTS=${TINTWELL_DEFAULTS:-$(dirname "${TINTWELL:-.}")/default/default.ini}

# The id of a visible top-level window with the exact name, waiting up to
# Seconds; empty when there is none.
find_window() {
  timeout "$2" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n1
}

# The names of the program's visible windows other than the main window,
# one a line.
other_windows() {
  local w name
  for w in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" --name '' 2>/dev/null); do
    [ "$w" = "$E2E_WID" ] && continue
    name=$(xdotool getwindowname "$w" 2>/dev/null) || continue
    [ -n "$name" ] || continue
    echo "$name"
  done
}
