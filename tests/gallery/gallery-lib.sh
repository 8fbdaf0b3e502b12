# shellcheck shell=bash
# The helpers of the gallery scripts (run-gallery-tests.sh and
# tests/gallery_controls/run-controls-gallery-tests.sh), sourced after they set
#   gallery  the gallery program        skin       the skin archive
#   reference  the reference pictures   out        where screenshots go
# and optionally GALLERY_ARGS, more arguments for every gallery started.
# Beside tests/support/screen-lib.sh (the environment, the mouse, the
# keyboard and the screenshots) they start galleries and wait for their
# events.

source "$(dirname "${BASH_SOURCE[0]}")/../support/screen-lib.sh"
[ -f "$skin" ] || skip "no skin archive at $skin; build the native preset first (it packs the default skin)"
rm -f "$out"/events-*.txt
read -r screen_width screen_height < <(xdotool getdisplaygeometry)

source "$(dirname "${BASH_SOURCE[0]}")/../support/wine-paths.sh"

# --- the gallery processes -----------------------------------------------------
declare -A pids events
[ -n "${GALLERY_ARGS+set}" ] || GALLERY_ARGS=()
# start_gallery NAME X Y: starts one gallery and waits for its window.
start_gallery() {
  local name=$1 log="$out/events-$1.txt"
  : >"$log"
  events[$name]=$log
  wine "$gallery" --skin "$(windows_path "$skin")" --events "$(windows_path "$log")" \
    --title "Gallery $name $$" --x "$2" --y "$3" "${GALLERY_ARGS[@]}" </dev/null >/dev/null 2>&1 &
  pids[$name]=$!
  wait_event "$name" '^ready main ' 30 >/dev/null || {
    fail "gallery $name did not start"
    return 1
  }
}
stop_all() {
  local name
  for name in "${!pids[@]}"; do kill "${pids[$name]}" 2>/dev/null; done
}
trap stop_all EXIT

# Events are read from the line after the last mark on.
declare -A marks
mark() { marks[$1]=$(wc -l <"${events[$1]}"); }
# wait_event NAME REGEX [SECONDS]: prints the first new line that matches.
wait_event() {
  local name=$1 pattern=$2 limit=${3:-5} line
  local deadline=$((SECONDS + limit))
  while :; do
    line=$(tail -n +$((${marks[$name]:-0} + 1)) "${events[$name]}" | grep -E -m1 "$pattern")
    if [ -n "$line" ]; then
      echo "$line"
      return 0
    fi
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.05
  done
}
expect_event() {
  if wait_event "$1" "$2" "${4:-5}" >/dev/null; then pass "$3"; else fail "$3 (no event matching '$2')"; fi
}
expect_no_event() {
  sleep "${4:-0.7}"
  if wait_event "$1" "$2" 0 >/dev/null; then fail "$3 (unexpected '$2')"; else pass "$3"; fi
}
# Field N (from 1) of the first new line matching REGEX.
field() { wait_event "$1" "$2" 5 | cut -d' ' -f"$3"; }

# --- the mouse ----------------------------------------------------------------------
# drag X1 Y1 X2 Y2: press, move there in steps, release.
drag() {
  move "$1" "$2"
  xdotool mousedown 1
  sleep 0.1
  local i
  for i in 1 2 3 4; do
    move $(($1 + ($3 - $1) * i / 4)) $(($2 + ($4 - $2) * i / 4))
  done
  xdotool mouseup 1
  sleep 0.2
}

# --- the end of a run ---------------------------------------------------------------
# expect_exit NAME: the gallery's process ends with 0.
expect_exit() {
  wait "${pids[$1]}"
  local code=$?
  [ $code -eq 0 ] && pass "the gallery exits with 0" || fail "the gallery exited with $code"
  unset "pids[$1]"
}
# finish TEXT: where the screenshots are, and the verdict (exit 1 on a failure).
finish() {
  echo "screenshots: $out"
  if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "$1"
}
