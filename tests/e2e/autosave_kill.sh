#!/bin/bash
# SIGKILL at random moments (a fixed seed) while the program paints and
# switches pictures; after each kill it starts again. Every stored colouring
# must decode, both pictures' files must hold exactly the state after some
# first part of the actions (never a mixture, never something not painted),
# and the open picture must show it. The loss of a kill is the time from the
# oldest painting action whose result is missing to the kill; the worst is
# printed and must stay within the bound.
#
# Two kinds of moments: at a random time while the actions go on, and, one
# time in three, just around the background write after the child stops.
#   KILLS (default 30), LOSS_BOUND_MS (default 4000), KILL_SEED.
E2E_LIMIT=${E2E_LIMIT:-420}
. "$(dirname "$0")/lib.sh" || exit 1
. "$(dirname "$0")/grid.sh" || exit 1
e2e_begin
start_xvfb 450
make_grid_pictures "$E2E_TMP/catalog"
use_grid_catalog "$E2E_TMP/catalog"
saved=$(SAVED_DIR)
KILLS=${KILLS:-30}
LOSS_BOUND_MS=${LOSS_BOUND_MS:-4000}
RANDOM=${KILL_SEED:-20261207}
NAMES=(alpha beta)

now_ms() { date +%s%3N; }
paint() { default_colour 0 "${PAINT_WELLS[$1]}"; }

# The verified state of both pictures: base[p:b] = "F S".
declare -A base
for p in 0 1; do
  for ((b = 0; b < GRID_BOXES; b++)); do base[$p:$b]="$GRID_WHITE $GRID_WHITE"; done
done

# The actions of the current run: time, kind (fill, stroke, switch),
# picture, box and colour.
act_t=() act_kind=() act_pic=() act_box=() act_col=()
kill_ms=0
shown=0
worst_loss=0
worst_cycle=0

# The state after the first K actions, into the array named by $2.
state_after() {
  local k=$1 i key
  local -n out=$2
  for key in "${!base[@]}"; do out[$key]=${base[$key]}; done
  for ((i = 0; i < k; i++)); do
    key="${act_pic[$i]}:${act_box[$i]}"
    case ${act_kind[$i]} in
      fill) out[$key]="${act_col[$i]} ${act_col[$i]}" ;;
      stroke) out[$key]="${out[$key]%% *} ${act_col[$i]}" ;;
    esac
  done
}

# After a new start: the stored files decode and hold the state after some
# first part of the last run's actions; the screen shows that state; the
# loss is measured. Leaves the verified state in base.
verify_run() {
  local cycle=$1 p b k key found=-1 i loss first_missing
  declare -A seen
  for p in 0 1; do
    if [ -f "$saved/${NAMES[$p]}.twf.colour.gif" ]; then
      decode_stored "$saved/${NAMES[$p]}.twf.colour.gif" "$E2E_TMP/stored$p.rgb"
      for ((b = 0; b < GRID_BOXES; b++)); do seen[$p:$b]=$(file_box "$E2E_TMP/stored$p.rgb" "$b"); done
    else
      for ((b = 0; b < GRID_BOXES; b++)); do seen[$p:$b]="$GRID_WHITE $GRID_WHITE"; done
    fi
    [ ! -f "$saved/${NAMES[$p]}.twf.outline.gif" ] ||
      decode_stored "$saved/${NAMES[$p]}.twf.outline.gif" "$E2E_TMP/mask$p.rgb"
  done
  for ((k = ${#act_t[@]}; k >= 0; k--)); do
    declare -A model=()
    state_after "$k" model
    found=$k
    for key in "${!seen[@]}"; do
      [ "${model[$key]}" = "${seen[$key]}" ] || { found=-1; break; }
    done
    unset model
    [ "$found" -ge 0 ] && break
  done
  if [ "$found" -lt 0 ]; then
    for ((i = 0; i < ${#act_t[@]}; i++)); do
      e2e_log "  action $i: ${act_kind[$i]} picture ${act_pic[$i]} box ${act_box[$i]} ${act_col[$i]}"
    done
    for key in $(printf '%s\n' "${!seen[@]}" | sort); do
      [ "${seen[$key]}" = "${base[$key]}" ] || e2e_log "  stored $key: ${seen[$key]} (was ${base[$key]})"
    done
    fail "kill $cycle: the stored colourings are not a state the child made"
  fi
  first_missing=""
  for ((i = found; i < ${#act_t[@]}; i++)); do
    [ "${act_kind[$i]}" = switch ] || { first_missing=$i; break; }
  done
  loss=0
  [ -z "$first_missing" ] || loss=$((kill_ms - act_t[first_missing]))
  e2e_log "kill $cycle: ${#act_t[@]} actions, the first $found kept; loss ${loss} ms"
  if [ "$loss" -gt "$worst_loss" ]; then
    worst_loss=$loss
    worst_cycle=$cycle
  fi
  [ "$loss" -le "$LOSS_BOUND_MS" ] || fail "kill $cycle lost ${loss} ms of painting (bound ${LOSS_BOUND_MS} ms)"
  for key in "${!seen[@]}"; do base[$key]=${seen[$key]}; done

  # The picture open at the kill, on the screen: the program opens the
  # first one; the second is one page on.
  shown=0
  for ((i = ${#act_t[@]} - 1; i >= 0; i--)); do
    [ "${act_kind[$i]}" = switch ] && { shown=${act_pic[$i]}; break; }
  done
  [ "$shown" -eq 1 ] && key Next
  # The page turn and its first paint take a moment on a busy machine: the
  # screen is looked at again until it shows the stored state, for a while.
  local mismatch="" try
  for try in $(seq 1 40); do
    raw_shot
    mismatch=""
    for ((b = 0; b < GRID_BOXES; b++)); do
      read -r gf gs <<<"$(screen_box "$b")"
      read -r wf ws <<<"${base[$shown:$b]}"
      colour_near "$gf" "$wf" 2 && colour_near "$gs" "$ws" 2 ||
        { mismatch="box $b of ${NAMES[$shown]} shows $gf $gs, its file $wf $ws"; break; }
    done
    [ -z "$mismatch" ] && break
    sleep 0.25
  done
  [ -z "$mismatch" ] || fail "kill $cycle: $mismatch"
  [ -z "$(other_windows)" ] || fail "kill $cycle: a message after the new start: $(other_windows)"
  local leftovers
  leftovers=$(find "$saved" -name '*.tmp' 2>/dev/null)
  [ -z "$leftovers" ] || fail "kill $cycle: temporary files left after the new start: $leftovers"
}

# One run of actions until the kill. Colours are chosen so that every
# action leaves its probes in a colour they have not had in this run (nor
# before it), so each first part of the actions gives a state of its own.
paint_until_killed() {
  local cycle=$1 tool=0 pic=$shown r b w c kind target killer="" quiet_kill=0 steps=0 key f s try
  local -A used=() had=()
  for key in "${!base[@]}"; do
    read -r f s <<<"${base[$key]}"
    had[$key:F:$f]=1
    had[$key:S:$s]=1
  done
  act_t=() act_kind=() act_pic=() act_box=() act_col=()
  if ((RANDOM % 3 == 0)); then
    quiet_kill=1
    steps=$((1 + RANDOM % 6))
  else
    target=$(($(now_ms) + 600 + RANDOM % 6000))
    (
      while [ "$(now_ms)" -lt "$target" ]; do sleep 0.02; done
      now_ms >"$E2E_TMP/kill-time"
      kill -KILL "$E2E_APP_PID" 2>/dev/null
    ) &
    killer=$!
  fi
  while kill -0 "$E2E_APP_PID" 2>/dev/null; do
    if ((quiet_kill && ${#act_t[@]} >= steps)); then
      # The child stops; the kill comes around the write that follows.
      sleep "$(awk -v ms=$((1850 + RANDOM % 400)) 'BEGIN { print ms / 1000 }')"
      now_ms >"$E2E_TMP/kill-time"
      kill -KILL "$E2E_APP_PID" 2>/dev/null
      break
    fi
    r=$((RANDOM % 100))
    if ((r < 12)); then
      act_t+=("$(now_ms)") act_kind+=(switch) act_box+=(0) act_col+=("")
      pic=$((1 - pic))
      act_pic+=("$pic")
      key Next
      sleep 0.2
      continue
    fi
    kind=fill
    ((r < 55)) || kind=stroke
    b=$((RANDOM % GRID_BOXES))
    # A colour new to this run and to the box's probes.
    c=""
    for ((try = 0; try < ${#PAINT_WELLS[@]}; try++)); do
      w=$((RANDOM % ${#PAINT_WELLS[@]}))
      [ -z "${used[$w]:-}" ] || continue
      c=$(paint "$w")
      [ -z "${had[$pic:$b:S:$c]:-}" ] || { c=""; continue; }
      [ "$kind" = stroke ] || [ -z "${had[$pic:$b:F:$c]:-}" ] || { c=""; continue; }
      break
    done
    if [ -z "$c" ]; then
      sleep 0.2
      continue
    fi
    used[$w]=1
    had[$pic:$b:S:$c]=1
    had[$pic:$b:F:$c]=1
    if [ "$kind" = fill ] && [ "$tool" -ne 0 ]; then choose_tool 0; tool=0; fi
    if [ "$kind" = stroke ] && [ "$tool" -ne 1 ]; then choose_tool 1; tool=1; fi
    choose_well "${PAINT_WELLS[$w]}"
    act_t+=("$(now_ms)") act_kind+=("$kind") act_pic+=("$pic") act_box+=("$b") act_col+=("$c")
    if [ "$kind" = fill ]; then fill_box "$b"; else stroke_box "$b"; fi
  done
  [ -z "$killer" ] || wait "$killer" 2>/dev/null
  wait "$E2E_APP_PID" 2>/dev/null
  E2E_APP_PID=""
  # A button held at the kill stays held in the X server otherwise.
  xdotool mouseup 1 2>/dev/null
  kill_ms=$(cat "$E2E_TMP/kill-time")
  # An action begun after the kill never reached the program.
  while [ "${#act_t[@]}" -gt 0 ] && [ "${act_t[-1]}" -ge "$kill_ms" ]; do
    unset 'act_t[-1]' 'act_kind[-1]' 'act_pic[-1]' 'act_box[-1]' 'act_col[-1]'
  done
}

started=$SECONDS
for ((cycle = 1; cycle <= KILLS; cycle++)); do
  start_tintwell
  if [ "$cycle" -eq 1 ]; then
    raw_shot
    find_grid
  else
    verify_run $((cycle - 1))
  fi
  paint_until_killed "$cycle"
done
start_tintwell
verify_run "$KILLS"
stop_tintwell
e2e_log "worst loss over $KILLS kills: ${worst_loss} ms (kill $worst_cycle), bound ${LOSS_BOUND_MS} ms, $((SECONDS - started)) s"
echo "worst loss: ${worst_loss} ms"
e2e_log "autosave kill: passed"
