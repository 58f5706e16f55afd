#!/usr/bin/env bash
# The keyboard-only journey on Wayland: a headless Weston on a private
# socket, and the main window's steering journey run under it with the Qt
# Wayland platform (steer onto an area, Space fills it, Space held with the
# arrows paints a line; the painter's pixels are checked by the test).
# Weston is ended by its process id. Exit status 77 means skipped.
#   wayland_journey.sh UI_TESTS_BINARY
set -u

ui_tests=${1:?usage: wayland_journey.sh UI_TESTS_BINARY}
command -v weston >/dev/null 2>&1 || { echo "SKIPPED: weston is not installed" >&2; exit 77; }
[ -x "$ui_tests" ] || { echo "FAILED: $ui_tests is not built" >&2; exit 1; }

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/tintwell-wayland.XXXXXX")
chmod 700 "$run_dir"
weston_pid=""
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
  rm -rf "$run_dir"
}
trap cleanup EXIT

socket="tintwell-$$"
XDG_RUNTIME_DIR="$run_dir" weston --backend=headless-backend.so --socket="$socket" \
  --idle-time=0 --no-config --width=1280 --height=800 >"$run_dir/weston.log" 2>&1 &
weston_pid=$!
# Weston is ready once its socket exists.
for _ in $(seq 1 200); do
  [ -S "$run_dir/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.05
done
if [ ! -S "$run_dir/$socket" ]; then
  echo "FAILED: the headless Weston did not start:" >&2
  cat "$run_dir/weston.log" >&2
  exit 1
fi

out="$run_dir/journey.log"
XDG_RUNTIME_DIR="$run_dir" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
  TINTWELL_EXPECT_PLATFORM=wayland \
  "$ui_tests" --gtest_filter='Pointers/KeyboardSteeringJourney.*' >"$out" 2>&1
status=$?
cat "$out"
[ "$status" -eq 0 ] || { echo "FAILED: the journey failed on Wayland (status $status)" >&2; exit 1; }
# Both journeys ran and passed: a filter that matched nothing or a skip
# would also end with status 0.
grep -q '^\[  PASSED  \] 2 tests\.' "$out" || { echo "FAILED: the journey did not run" >&2; exit 1; }
! grep -q '^\[  SKIPPED \]' "$out" || { echo "FAILED: the journey was skipped" >&2; exit 1; }
echo "The keyboard journey passed on Wayland."
