# shellcheck shell=bash
# What the scripts that drive the real setup window share: staging the
# example product, checks that wait for the setup, starting a setup and
# reading its log lines, waiting for windows by title, and where the
# window's widgets lie by name (setup-layout). Sourced after the script sets
# what screen-lib.sh asks for, it brings screen-lib.sh (pass, fail, check,
# the mouse and the screenshots), wine-paths.sh, manifest-lib.sh and
# layout-lib.sh along.
# read_machine runs first: start_setup needs the folders it finds.

support=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=tests/support/screen-lib.sh
source "$support/screen-lib.sh"
# shellcheck source=tests/support/wine-paths.sh
source "$support/wine-paths.sh"
# shellcheck source=tests/support/manifest-lib.sh
source "$support/manifest-lib.sh"
# shellcheck source=tests/support/layout-lib.sh
source "$support/layout-lib.sh"

# The native tools the scripts pack and place with ($pack, $setup_layout).
require_tools() {
  [ -x "$pack" ] || skip "no tarnell-pack at $pack; build the native preset first"
  [ -x "$setup_layout" ] || skip "no setup-layout at $setup_layout; build the native preset first"
  command -v file >/dev/null || skip "file is not installed"
}
# pack_setup MANIFEST SETUP: packs the manifest with the setup program $stub
# (the manifest asks for its architecture); a refusal ends the script.
pack_setup() {
  match_architecture "$1" "$stub"
  "$pack" build "$1" -o "$2" --stub "$stub" >/dev/null || { echo "FAIL: cannot pack $1"; exit 1; }
}

# stage_example DIR [PRODUCT]: the example product's manifest and files in
# $stage/DIR, with the test programs ($hello_exe, $agent_exe) in its bin
# folder; PRODUCT names it otherwise, so that one script's product is not
# another's.
stage_example() {
  local dir=$stage/$1
  mkdir -p "$dir/bin"
  cp -r "$root/examples/hello/hello.toml" "$root/examples/hello/files" "$dir/"
  cp "$hello_exe" "$agent_exe" "$dir/bin/"
  [ -z "${2:-}" ] || sed -i "s/^name = \"Hello\"/name = \"$2\"/" "$dir/hello.toml"
}

# Paths compare without regard to case, as Windows compares them.
same_path() { [ "${1,,}" = "${2,,}" ]; }

# read_machine STUB: the running prefix's folders (temp_win, temp_unix,
# appdata_unix) and the registry view the setup program writes (view: a
# 32-bit setup writes the 32-bit view; bits: 32 or 64).
read_machine() {
  temp_win=$(wine cmd /c echo %TEMP% </dev/null 2>/dev/null | tr -d '\r')
  temp_unix=$(unix_path "$temp_win")
  appdata_unix=$(unix_path "$(wine cmd /c echo %APPDATA% </dev/null 2>/dev/null | tr -d '\r')")
  view=/reg:64 bits=64
  case $(file -b "$1") in PE32\ *) view=/reg:32 bits=32 ;; esac
}
uninstall_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
registered() { wine reg query "$uninstall_key\\$1" $view </dev/null >/dev/null 2>&1; }
service_exists() { wine reg query "HKLM\\System\\CurrentControlSet\\Services\\$1" </dev/null >/dev/null 2>&1; }
file_type_of() { wine reg query "HKCR\\.$1" /ve $view </dev/null 2>/dev/null | tr -d '\r' | awk '/REG_SZ/ {print $NF}'; }

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
  CX=$((WX + layout_frame)) CY=$((WY + layout_frame))
  sleep 0.5
}
# The lines the running setup wrote to its log file so far.
run_lines() {
  tail -n +$((${log_marks[$setup_log]} + 1)) "$setup_log" 2>/dev/null | tr -d '\r' \
    | sed -E 's/^[^ ]+  [0-9:]+  //'
}
# await_end WHAT: after the key that closes the setup, waits for its end
# and checks how it ended.
await_end() {
  local waited=0
  while kill -0 "$setup_pid" 2>/dev/null && [ $waited -lt 100 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  if kill -0 "$setup_pid" 2>/dev/null; then
    fail "$1: Alt+F4 did not end the setup"
    kill "$setup_pid"
    return
  fi
  wait "$setup_pid"
  check "$1: the setup ends with exit code 0" test $? -eq 0
  check "$1: \"Setup ended\" is the last line of the log file" test "$(run_lines | tail -1)" = "Setup ended"
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
