#!/usr/bin/env bash
# Starts an installed Tintwell through its launcher and checks that it comes
# up: it keeps running for a few seconds, runs the program binary inside the
# same installation (the launcher finds it relative to itself), creates its
# settings database in a private home, and says nothing about missing files.
#   run-installed.sh LAUNCHER WORK_DIR
# Everything it writes stays in WORK_DIR; the program is killed by its PID.
set -uo pipefail

launcher=$1
work=$2
mkdir -p "$work/home/.config"
log="$work/program.log"
pid=""

stop_program() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  pid=""
}
trap stop_program EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- program output:" >&2
  cat "$log" >&2
  exit 1
}

[ -x "$launcher" ] || { echo "FAIL: no launcher at $launcher" >&2; exit 1; }
install_root=$(readlink -f "$(dirname "$launcher")/..")

# A clean environment apart from what the program needs: a private home, the
# invisible platform, no sound device and no library path pointing into a
# build tree.
env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  QT_QPA_PLATFORM=offscreen TINTWELL_SOUND=silent LANG=C.UTF-8 \
  "$launcher" >"$log" 2>&1 &
pid=$!

# Give it about three seconds; it must still be running at the end.
for _ in $(seq 30); do
  kill -0 "$pid" 2>/dev/null || { wait "$pid"; fail "the program ended early with status $?"; }
  sleep 0.1
done

exe=$(readlink -f "/proc/$pid/exe")
case "$exe" in
  "$install_root"/lib/tintwell/tintwell) ;;
  *) fail "the launcher started $exe, not the program in $install_root/lib/tintwell" ;;
esac

settings="$work/home/.config/Tintwell/Tintwell/1/settings.sqlite3"
[ -s "$settings" ] || fail "no settings database at $settings"

if grep -Ei 'no such file|not found|missing|cannot open|could not open|can.t open|failed to (load|open)|does not exist|cannot find|could not find' "$log" >/dev/null; then
  fail "the program reported a missing file"
fi

stop_program
echo "ok: $exe ran from its installation and created $settings"
