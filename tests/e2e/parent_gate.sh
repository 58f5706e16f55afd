#!/bin/bash
# The parental gate: with saving locked, Ctrl+S asks for the parent's
# password; a wrong one asks again and opens nothing, the right one opens
# the save dialog and the picture is saved.
. "$(dirname "$0")/lib.sh" || exit 1
e2e_begin identify
start_xvfb 300
printf 'owl42\nowl42\n' | "$TINTWELL_CONFIG" --defaults "$TINTWELL_DEFAULTS" password \
  >>"$E2E_TMP/config.log" 2>&1 || fail "setting the password: $(cat "$E2E_TMP/config.log")"
"$TINTWELL_CONFIG" --defaults "$TINTWELL_DEFAULTS" lock save on >>"$E2E_TMP/config.log" 2>&1 ||
  fail "locking saving: $(cat "$E2E_TMP/config.log")"
start_tintwell
saved="$HOME/Pictures/Tintwell/saved"

key ctrl+s
gate=$(find_window "Parent password" 5)
[ -n "$gate" ] || fail "Ctrl+S did not ask for the password"
xdotool type --delay 40 "wrong"
xdotool key Return
sleep 1
shot
# shellcheck disable=SC2086
pixel_is $SAVE_BUTTON "$YES_GREEN" 40 && fail "a wrong password opened the save dialog"
gate=$(find_window "Parent password" 5)
[ -n "$gate" ] || fail "after a wrong password the gate did not ask again"
e2e_log "ok: a wrong password asks again"

xdotool type --delay 40 "owl42"
xdotool key Return
wait_for 5 pixel_is $SAVE_BUTTON "$YES_GREEN" 40 || fail "the right password did not open the save dialog"
[ -z "$(find_window "Parent password" 1)" ] || fail "the gate is still open"
e2e_log "ok: the right password opens the save dialog"
# shellcheck disable=SC2086
click_at $SAVE_BUTTON
for _ in $(seq 1 40); do
  [ -s "$saved/teddy.001.jpg" ] && break
  sleep 0.25
done
[ -s "$saved/teddy.001.jpg" ] || fail "nothing saved after the right password ($(ls -R "$HOME/Pictures"))"
identify "$saved/teddy.001.jpg" >/dev/null 2>&1 || fail "the saved file does not decode"
e2e_log "parent gate: passed"
