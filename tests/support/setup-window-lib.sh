# What the scripts that drive the real setup window share (sourced after
# screen-lib.sh, which gives pass and fail): checks that wait for the
# setup, starting a setup and reading its log lines, waiting for windows by
# title, and where the window's widgets lie by name (setup-layout).
# Before start_setup the script sets temp_unix, the Unix path of %TEMP%.

# Paths compare without regard to case, as Windows compares them.
same_path() { [ "${1,,}" = "${2,,}" ]; }
# check DESCRIPTION COMMAND...: the setup answers input in its own time, so
# a condition gets three seconds to come true.
check() {
  local what=$1 i
  shift
  for i in $(seq 30); do
    if "$@"; then
      pass "$what"
      return
    fi
    sleep 0.1
  done
  fail "$what"
}

# Runs are logged to %TEMP%\<setup's base name>.log; each run's lines are read
# from where the file ended before it started.
declare -A log_marks
log_of() { echo "$temp_unix/$(basename "${1%.*}").log"; }
setup_pid=""
setup_log=""
setup_window=""
WX=0 WY=0 WW=0 WH=0 CX=0 CY=0
# start_setup EXE TITLE: starts a setup and waits for its window (its X
# window id in setup_window, its frame in WX WY WW WH, its client's corner
# on the screen in CX CY).
start_setup() {
  setup_log=$(log_of "$1")
  log_marks[$setup_log]=$( [ -f "$setup_log" ] && wc -l <"$setup_log" || echo 0)
  wine "$1" </dev/null >/dev/null 2>&1 &
  setup_pid=$!
  local window
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^$2\$" 2>/dev/null | head -1)
  if [ -z "$window" ]; then
    fail "the window \"$2\" did not appear"
    return 1
  fi
  setup_window=$window
  eval "$(xdotool getwindowgeometry --shell "$window" | sed 's/^/W/')"
  WX=$WX WY=$WY WW=$WWIDTH WH=$WHEIGHT
  CX=$((WX + 2)) CY=$((WY + 2))
  sleep 0.5
}
# The lines the running setup wrote to its log file so far.
run_lines() {
  tail -n +$((${log_marks[$setup_log]} + 1)) "$setup_log" 2>/dev/null | tr -d '\r' \
    | sed -E 's/^[^ ]+  [0-9:]+  //'
}
# A visible window of the title, as WINDOW_X WINDOW_Y WIDTH HEIGHT; waits up
# to SECONDS (default 30).
window_of() {
  local id
  id=$(timeout "${2:-30}" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
  [ -n "$id" ] || return 1
  xdotool getwindowgeometry --shell "$id" | awk -F= '/^[XY]=|^WIDTH=|^HEIGHT=/ {printf "%s ", $2} END {print ""}'
}
gone() {
  local i
  for i in $(seq 50); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
# Where the setup window's widgets lie, as setup-layout prints them for the
# package's shape ("NAME X Y WIDTH HEIGHT", client coordinates); ARGS are
# its options.
declare -A widget_box
load_layout() {
  widget_box=()
  local name x y w h
  while read -r name x y w h; do widget_box[$name]="$x $y $w $h"; done < <("$setup_layout" "$@")
  [ -n "${widget_box[install]:-}" ] || fail "setup-layout $* printed no layout"
}
# widget_edge NAME left|top|right|bottom: one edge of a widget (client).
widget_edge() {
  local x y w h
  read -r x y w h <<<"${widget_box[$1]}"
  case $2 in left) echo "$x" ;; top) echo "$y" ;; right) echo $((x + w)) ;; bottom) echo $((y + h)) ;; esac
}
# widget_point NAME: the middle of a widget on the screen, "X Y".
widget_point() {
  local x y w h
  read -r x y w h <<<"${widget_box[$1]}"
  echo "$((CX + x + w / 2)) $((CY + y + h / 2))"
}
