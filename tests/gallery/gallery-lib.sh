# The helpers of the gallery scripts (run-gallery-tests.sh and
# tests/gallery2/run-gallery2-tests.sh), sourced after they set
#   gallery  the gallery program        skin       the skin archive
#   reference  the reference pictures   out        where screenshots go
# and optionally GALLERY_ARGS, more arguments for every gallery started.
# They check the environment (skipping with 77 without a display), start
# galleries and wait for their events, move the mouse and press keys, and
# compare cropped screenshots with the references.

skip() {
  echo "SKIPPED: $*"
  exit 77
}
[ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1 \
  || skip "no X display; source scripts/wine-env.sh and run wine_env_start first"
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || skip "no Wine prefix; source scripts/wine-env.sh and run wine_env_start first"
[ -f "$skin" ] || skip "no skin archive at $skin; build the native preset first (it packs the default skin)"
for tool in wine xdotool import convert compare; do
  command -v $tool >/dev/null || skip "$tool is not installed"
done

mkdir -p "$out"
rm -f "$out"/*.png "$out"/events-*.txt
read -r screen_width screen_height < <(xdotool getdisplaygeometry)

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

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

# --- the mouse and the keyboard ------------------------------------------------
move() { xdotool mousemove "$1" "$2"; sleep 0.1; }
click() {
  move "$1" "$2"
  xdotool click "${3:-1}"
  sleep 0.15
}
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
key() {
  xdotool key "$@"
  sleep 0.15
}

# --- screenshots -------------------------------------------------------------------
# shoot NAME X Y W H: waits until the screen is still, crops, compares.
shoot() {
  local name=$1 crop="${4}x${5}+${2}+${3}" previous="" now i
  for i in $(seq 20); do
    import -window root "$out/screen.png"
    now=$(convert "$out/screen.png" -crop "$crop" +repage rgba:- | md5sum)
    [ "$now" = "$previous" ] && break
    previous=$now
    sleep 0.12
  done
  convert "$out/screen.png" -crop "$crop" +repage "$out/$name.png"
  rm -f "$out/screen.png"
  if [ "${TARNELL_UPDATE_REFERENCES:-}" = 1 ]; then
    cp "$out/$name.png" "$reference/$name.png"
    pass "$name.png taken as the new reference"
    return
  fi
  if [ ! -f "$reference/$name.png" ]; then
    fail "no reference picture $reference/$name.png (see $out/$name.png)"
    return
  fi
  local differing
  differing=$(compare -metric AE -fuzz 2% "$reference/$name.png" "$out/$name.png" "$out/$name-diff.png" 2>&1)
  # A picture of another size is a difference too.
  if [[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -le $(($4 * $5 / 1000)) ]; then
    rm -f "$out/$name-diff.png"
    pass "$name.png matches the reference"
  else
    fail "$name.png differs from the reference in $differing pixels (see $out/$name-diff.png)"
  fi
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
