#!/bin/bash
# A damaged picture file and a missing one in the catalog: each gives one
# message, and the program goes on with the next picture.
. "$(dirname "$0")/lib.sh" || exit 1
e2e_begin
start_xvfb 350

# A private catalog folder with copies of the shipped pictures: the second
# entry cut short and followed by noise, the third gone.
catalog="$E2E_TMP/catalog"
mkdir -p "$catalog"
cp "$(dirname "$TINTWELL")"/catalog/*.twf "$catalog/" || skip "no shipped catalog beside the program"
[ -f "$catalog/puppy.twf" ] && [ -f "$catalog/sleeping_cat.twf" ] || skip "the shipped catalog changed"
head -c 300 "$(dirname "$TINTWELL")/catalog/puppy.twf" >"$catalog/puppy.twf"
head -c 3000 /dev/urandom >>"$catalog/puppy.twf"
rm "$catalog/sleeping_cat.twf"
config_set Main PathCatalog "$catalog/"
start_tintwell

# The teddy bear opens as usual.
shot
expect_pixel "the first picture" $HEAD "255,255,255" 0

# Exactly one message (the warning box) for the damaged file.
wait_dialogs() {
  local want=$1 deadline=$((SECONDS + 5)) got
  while :; do
    got=$(other_windows | grep -c .)
    [ "$got" -ge "$want" ] && break
    [ "$SECONDS" -lt "$deadline" ] || break
    sleep 0.2
  done
  sleep 0.5
  other_windows
}
key Next
windows=$(wait_dialogs 1)
e2e_log "after the damaged picture: [$windows]"
[ "$(grep -c . <<<"$windows")" -eq 1 ] || fail "expected one message for the damaged file, saw: [$windows]"
xdotool key Return
sleep 1
[ -z "$(other_windows)" ] || fail "a second message after the damaged file: [$(other_windows)]"
kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the program ended after the damaged file"

# Exactly one message for the missing file; OK closes it.
key Next
windows=$(wait_dialogs 1)
e2e_log "after the missing picture: [$windows]"
[ "$windows" = "Picture not found" ] || fail "expected one 'Picture not found' message, saw: [$windows]"
# The message is the information dialog, centred over the window.
wait_for 5 pixel_is $FAREWELL_OK "$YES_GREEN" 40 || fail "no OK button in the message"
# shellcheck disable=SC2086
click_at $FAREWELL_OK
sleep 1
[ -z "$(other_windows)" ] || fail "a second message after the missing file: [$(other_windows)]"

# The program goes on: the next picture is shown with its title, and the
# missing entry has left the catalog.
shot
row=$(row_pixels 300 150 $((WIN_W - 30)))
grep -q "#FFFFFF" <<<"$row" && grep -q "#000000" <<<"$row" || fail "no picture shown after the messages"
share=$(dark_share 25 38 260 18)
awk -v s="$share" 'BEGIN { exit !(s > 0.05) }' || fail "no title after the messages ($share)"
list=$("$TINTWELL_CONFIG" --defaults "$TINTWELL_DEFAULTS" catalog list 2>&1)
grep -q "sleeping_cat" <<<"$list" && fail "the missing picture is still in the catalog"
grep -q "bee.twf" <<<"$list" || fail "the catalog lost other pictures: $list"
kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the program ended"
e2e_log "damaged and missing: passed"
