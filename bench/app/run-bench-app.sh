#!/usr/bin/env bash
# Whole-program measurements under a private Xvfb: start-up to the first
# painted picture (against Tux Paint's start to its window, in the same
# run), then the in-process measurements of tintwell_app_bench (opening a
# picture, a brush stroke, memory, a fill from the keyboard) and of
# tintwell_chooser_bench (the picture chooser with the shipped catalog and
# with 500 pictures, each with no kept thumbnails and then with them).
#   bench/app/run-bench-app.sh [BUILD_DIR] [RUNS] [CANVAS_RUNS]
# BUILD_DIR is a build of bench/app (default build-benchapp), RUNS the
# start-ups of each program (default 10), CANVAS_RUNS the slower starts of
# Tux Paint up to its drawing screen (default 3). Never part of `make test`.
set -euo pipefail

build=$(cd "${1:-build-benchapp}" && pwd)
runs=${2:-10}
# Tux Paint's drawing screen comes after its title screen, some seconds.
canvas_runs=${3:-3}
program=$build/bin/tintwell
driver=$build/bin/tintwell_app_bench
chooser=$build/bin/tintwell_chooser_bench
for f in "$program" "$driver" "$chooser"; do
  [ -x "$f" ] || { echo "run-bench-app.sh: $f is missing: build bench/app first" >&2; exit 2; }
done
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "run-bench-app.sh: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill -KILL "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

display=""
for _ in $(seq 20); do
  n=$((200 + RANDOM % 500))
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "run-bench-app.sh: no free display number" >&2; exit 2; }
# -noreset: the server would otherwise reset whenever its last client
# leaves, between two starts, and refuse the next start meanwhile.
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
# The socket appears a moment before the server answers.
for _ in $(seq 200); do
  DISPLAY=":$display" xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.05
done

export DISPLAY=":$display"
export HOME=$work/home
export XDG_CONFIG_HOME=$work/config
export XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime
export TINTWELL_SOUND=silent
# glibc's fatal messages go to stderr, not the terminal.
export LIBC_FATAL_STDERR_=1
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

now_ns() { date +%s%N; }

# Waits for a file to appear, at most $2 seconds, while the program runs.
wait_file() {
  local i
  for ((i = 0; i < $2 * 200; i++)); do
    [ -s "$1" ] && return 0
    kill -0 "$app_pid" 2>/dev/null || return 1
    sleep 0.005
  done
  return 1
}

# Waits until a visible window matches the xdotool search arguments, at
# most 20 s. Polled every few milliseconds: `xdotool search --sync` checks
# only every half second.
wait_window() {
  local i
  for ((i = 0; i < 4000; i++)); do
    xdotool search --onlyvisible "$@" >/dev/null 2>&1 && return 0
    kill -0 "$app_pid" 2>/dev/null || return 1
    sleep 0.003
  done
  return 1
}

stop_app() {
  kill -KILL "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

# The figures of a run file without its failed runs.
ok_values() { grep -v fail "$1" || true; }

median() { sort -n | awk '{v[NR]=$1} END {if (NR==0) {print "n/a"; exit} m=(NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2; printf "%.0f", m}'; }

# One start of ours: prints "first-frame-ms window-ms", and on the first run
# the memory of the started program.
start_ours() {
  local marker=$work/first-frame t0 t_window frame
  rm -f "$marker"
  t0=$(now_ns)
  TINTWELL_FIRST_FRAME_FILE=$marker "$program" >/dev/null 2>>"$work/program.err" &
  app_pid=$!
  wait_window --name '^Tintwell$' || true
  t_window=$(now_ns)
  if ! wait_file "$marker" 10; then stop_app; echo "fail fail"; return; fi
  kill -0 "$app_pid" 2>/dev/null || { stop_app; echo "fail fail"; return; }
  frame=$(cat "$marker")
  if [ "${1:-}" = memory ]; then
    sleep 0.5
    grep -E '^Vm(RSS|HWM)' "/proc/$app_pid/status" | tr -s ' \t' ' ' >"$work/memory" || true
  fi
  stop_app
  echo "$(((frame - t0) / 1000000)) $(((t_window - t0) / 1000000))"
}

echo "Start-up under Xvfb :$display (1280x800), warm cache, $runs runs each"
# The first start seeds the settings and warms the cache; not counted.
start_ours memory >/dev/null
: >"$work/ours"
for ((i = 0; i < runs; i++)); do start_ours >>"$work/ours"; done
if grep -q fail "$work/ours"; then
  echo "  (some starts of ours gave no first-frame mark; the program said:)"
  sed 's/^/    /' "$work/program.err"
fi
ours_frame=$(ok_values "$work/ours" | cut -d' ' -f1 | median)
ours_window=$(ok_values "$work/ours" | cut -d' ' -f2 | median)
echo "  Tintwell  process start to window mapped      median ${ours_window} ms"
echo "  Tintwell  process start to first picture paint median ${ours_frame} ms   (target 400 ms)"
if [ -s "$work/memory" ]; then
  echo "  Tintwell  memory right after start: $(tr '\n' ' ' <"$work/memory")"
else
  echo "  Tintwell  memory right after start: not read (the first start ended early:)"
  sed 's/^/    /' "$work/program.err"
fi

if command -v tuxpaint >/dev/null; then
  tux_args=(--windowed --nosound --nolockfile --startblank --noprint --nosysconfig
            --savedir "$work/tuxsave")
  start_tux() {
    local t0 t1
    t0=$(now_ns)
    tuxpaint "${tux_args[@]}" >/dev/null 2>&1 &
    app_pid=$!
    if ! wait_window --class tuxpaint; then
      stop_app; echo fail; return
    fi
    t1=$(now_ns)
    stop_app
    echo $(((t1 - t0) / 1000000))
  }
  # One start to its drawing screen: after the title screen the window's
  # top-left corner shows the green "Tools" header, polled with `import`
  # (about 0.1 to 0.2 s a look, so coarse).
  start_tux_canvas() {
    local t0 t1 win pixel i
    t0=$(now_ns)
    tuxpaint "${tux_args[@]}" >/dev/null 2>&1 &
    app_pid=$!
    if ! wait_window --class tuxpaint; then stop_app; echo fail; return; fi
    # A window that vanishes (the peer killed or crashed) fails this run
    # only: nothing here may end the whole measurement.
    win=$(xdotool search --onlyvisible --class tuxpaint 2>/dev/null | head -1) || true
    [ -n "$win" ] || { stop_app; echo fail; return; }
    for ((i = 0; i < 300; i++)); do
      pixel=$(import -window "$win" -crop 1x1+20+30 -depth 8 txt:- 2>/dev/null |
        sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | head -1) || true
      if [ -n "$pixel" ] && echo "$pixel" | awk '{exit !($2 > $1 + 30 && $2 > $3 + 30)}'; then
        t1=$(now_ns)
        stop_app
        echo $(((t1 - t0) / 1000000))
        return
      fi
    done
    stop_app
    echo fail
  }
  start_tux >/dev/null
  : >"$work/tux"
  for ((i = 0; i < runs; i++)); do start_tux >>"$work/tux"; done
  tux=$(ok_values "$work/tux" | median)
  if [ "$tux" = n/a ]; then
    echo "  Tux Paint process start to window mapped      not measured: no start reached its window"
  else
    echo "  Tux Paint process start to window mapped      median ${tux} ms"
  fi
  : >"$work/tux-canvas"
  for ((i = 0; i < canvas_runs; i++)); do start_tux_canvas >>"$work/tux-canvas"; done
  tux_canvas=$(ok_values "$work/tux-canvas" | median)
  if [ "$tux_canvas" = n/a ]; then
    echo "  Tux Paint process start to drawing screen     not measured: no start reached its drawing screen"
  else
    echo "  Tux Paint process start to drawing screen     median ${tux_canvas} ms  ($canvas_runs runs, title screen included)"
  fi
  if [[ "$tux" =~ ^[0-9]+$ && "$ours_frame" =~ ^[0-9]+$ && "$tux" -gt 0 ]]; then
    awk -v a="$ours_frame" -v b="$tux" 'BEGIN {printf "  ratio: our first picture / Tux Paint window mapped = %.2f\n", a / b}'
  fi
  if [[ "$tux_canvas" =~ ^[0-9]+$ && "$ours_frame" =~ ^[0-9]+$ && "$tux_canvas" -gt 0 ]]; then
    awk -v a="$ours_frame" -v b="$tux_canvas" 'BEGIN {printf "  ratio: our first picture / Tux Paint drawing screen = %.2f\n", a / b}'
  fi
else
  echo "  Tux Paint not installed (scripts/install-deps.sh --bench): no comparison"
fi

echo
echo "In-process measurements (tintwell_app_bench on the same display)"
timeout 120 "$driver" 2>"$work/driver.err" | sed 's/^/  /' || {
  echo "  tintwell_app_bench failed:"; sed 's/^/    /' "$work/driver.err"; exit 1; }

echo
echo "Picture chooser (tintwell_chooser_bench on the same display)"
# The shipped catalog, then 500 pictures; each twice, so the second run
# finds the thumbnails the first one kept.
for args in shipped shipped "500 $work/catalog500" "500 $work/catalog500"; do
  # shellcheck disable=SC2086
  timeout 300 "$chooser" $args 2>"$work/chooser.err" | sed 's/^/  /' || {
    echo "  tintwell_chooser_bench $args failed:"; sed 's/^/    /' "$work/chooser.err"; exit 1; }
done
