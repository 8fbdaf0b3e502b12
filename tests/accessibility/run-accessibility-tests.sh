#!/usr/bin/env bash
# Reads the real setup window as a screen reader does: from another process,
# through Active Accessibility (accessible-walk), and works it that way.
# Every control of the layout table is found at its place on the screen with
# its role, name and states; the focus and the hit test name the right
# control; a check box's default action does what its click does; "Install"
# pressed through its default action installs the product, and the message
# box reads its text and "OK"; the log view's value is the newest log line;
# the folder browser and the log view's menu are read; "Uninstall" and
# "Close" pressed the same way leave the machine clean, and a reader still
# holding the window's object is refused, not crashed, once the setup ends.
#
#   run-accessibility-tests.sh SETUP_STUB TARNELL_PACK SETUP_LAYOUT HELLO_EXE
#                              HELLO_AGENT_EXE ACCESSIBLE_WALK_EXE OUTPUT_DIR
#
# Needs the environment of scripts/wine-env.sh with wine_env_start run;
# without a display it skips (exit 77).
set -u

stub=$1
pack=$2
setup_layout=$3
hello_exe=$4
agent_exe=$5
walker=$6
out=$7
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
reference=""

source "$root/tests/support/setup-window-lib.sh"
require_tools
read_machine "$stub"
product=Listen
title="$product Setup"
registered $product && skip "the test product $product is installed in this prefix; start from a fresh one"

# The example product under a name of its own, so the window tests of the
# example product find a machine without it.
stage=$out/packages
rm -rf "$stage"
stage_example listen "$product"
setup_exe=$stage/Listen_Setup.exe
pack_setup "$stage/listen/hello.toml" "$setup_exe"

# --- the reader -------------------------------------------------------------------
walk() { wine "$walker" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# field N LINE: field N (1-based) of a tree line ID|ROLE|NAME|VALUE|STATES|BOX|ACTION.
field() { cut -d'|' -f"$1" <<<"$2"; }
tree=""
read_tree() { tree=$(walk tree "$1"); }
# line_named ROLE NAME: the first line of the tree with that role and name.
line_named() { awk -F'|' -v r="$1" -v n="$2" '$2 == r && $3 == n {print; exit}' <<<"$tree"; }
# has_state STATE LINE
has_state() { [[ ",$(field 5 "$2")," == *",$1,"* ]]; }

# The setup window's widgets by name, as setup-layout prints them.
load_layout --associations 2
# line_at NAME: the tree line whose place on the screen is the widget's.
line_at() {
  local x y w h origin
  read -r x y w h <<<"${widget_box[$1]}"
  origin=$(field 6 "$(head -1 <<<"$tree")")
  read -r ox oy _ <<<"$origin"
  awk -F'|' -v box="$((ox + x)) $((oy + y)) $w $h" '$1 != 0 && $6 == box {print; exit}' <<<"$tree"
}
# The middle of a widget on the screen, "X Y".
widget_point() {
  local line
  line=$(line_at "$1")
  read -r lx ly lw lh <<<"$(field 6 "$line")"
  echo "$((lx + lw / 2)) $((ly + lh / 2))"
}

# --- the window as the layout table has it ---------------------------------------------
echo "--- the setup window"
wine "$setup_exe" </dev/null >/dev/null 2>&1 &
setup_pid=$!
trap 'kill "$setup_pid" 2>/dev/null' EXIT
read_tree "$title"
[ -n "$tree" ] || { echo "FAIL: no accessible tree for \"$title\""; exit 1; }
check "the window is named after its title bar" test "$(field 3 "$(head -1 <<<"$tree")")" = "$title"
check "AccessibleChildren lists every child as a simple element, in order" \
  test "$(walk children "$title" | tr '\n' ' ')" = "$(tail -n +2 <<<"$tree" | cut -d'|' -f1 | tr '\n' ' ')"

# NAME|ROLE|ACCESSIBLE NAME|STATES the widget must have (of unavailable and
# checked; it must be visible). A field is named by the label above it.
expected="title-bar|titlebar|$title|
program-folder-label|statictext|Install programs in the following folder|
program-folder|text|Install programs in the following folder|
program-folder-search|pushbutton|Search|
data-folder-label|statictext|Install data in the following folder|
data-folder|text|Install data in the following folder|
data-folder-search|pushbutton|Search|
start-menu-shortcuts|checkbox|Allow start menu shortcuts|checked
desktop-shortcut|checkbox|Allow desktop shortcut|checked
all-users|checkbox|For all user on this machine|
add-to-path|checkbox|Add program directory to PATH|
keep-data|checkbox|Do not remove/overwrite data|
association-label|statictext|Create File Associations|
association-1|checkbox|hlo|checked
association-2|checkbox|hlg|checked
log-view|list||
uninstall|pushbutton|Uninstall|unavailable
install|pushbutton|Install|
close|pushbutton|Close|"
while IFS='|' read -r name role accessible_name states; do
  line=$(line_at "$name")
  if [ -z "$line" ]; then
    fail "$name: no child of the tree at its place"
    continue
  fi
  got_states=""
  for state in unavailable checked; do has_state $state "$line" && got_states+="${got_states:+,}$state"; done
  if [ "$(field 2 "$line")|$(field 3 "$line")|$got_states" = "$role|$accessible_name|$states" ] \
    && ! has_state invisible "$line"; then
    pass "$name: $role \"$accessible_name\"${states:+ ($states)}"
  else
    fail "$name: expected $role \"$accessible_name\" ($states), got: $line"
  fi
done <<<"$expected"
check "the fields' values are their folders" \
  test "$(field 4 "$(line_at program-folder)")" != "" -a "$(field 4 "$(line_at data-folder)")" != ""
check "every push button is pressed with \"Press\", a checked box unchecked with \"Uncheck\"" \
  test "$(field 7 "$(line_at install)")/$(field 7 "$(line_at keep-data)")/$(field 7 "$(line_at association-1)")" \
  = "Press/Check/Uncheck"

# --- focus and pointer ---------------------------------------------------------------------
focused_id() { walk focus "$title"; }
check "the focus is in the program field at the start" test "$(focused_id)" = "$(field 1 "$(line_at program-folder)")"
read -r px py < <(widget_point data-folder)
xdotool mousemove "$px" "$py" click 1
sleep 0.3
check "a click moves the focus the reader sees into the data field" \
  test "$(focused_id)" = "$(field 1 "$(line_at data-folder)")"
# A reader follows the focus and the boxes through the window's events.
walk events "$title" 4 >"$out/events.txt" &
events_pid=$!
sleep 2
read -r px py < <(widget_point keep-data)
xdotool mousemove "$px" "$py" click 1
sleep 0.3
xdotool mousemove "$px" "$py" click 1
wait "$events_pid"
# followed ID: the child took the focus and changed its state twice.
followed() { grep -qx "focus $1" "$out/events.txt" && [ "$(grep -cx "state $1" "$out/events.txt")" -ge 2 ]; }
check "clicking a box twice raises its focus and two state-change events" followed "$(field 1 "$(line_at keep-data)")"
read -r px py < <(widget_point install)
check "the hit test finds \"Install\" under its middle" test "$(walk hit "$title" "$px" "$py")" = \
  "$(field 1 "$(line_at install)")"

# --- default actions ----------------------------------------------------------------------
user_data=$(field 4 "$(line_at data-folder)")
walk press "$title" checkbox "For all user on this machine" >/dev/null
sleep 0.5
read_tree "$title"
check "\"Check\" checks the all-users box" has_state checked "$(line_at all-users)"
check "and swaps the data folder as a click does" test "$(field 4 "$(line_at data-folder)")" != "$user_data"
walk press "$title" checkbox "For all user on this machine" >/dev/null
sleep 0.5
read_tree "$title"
check "\"Uncheck\" brings the user's data folder back" test "$(field 4 "$(line_at data-folder)")" = "$user_data"
program_unix=$(unix_path "$(field 4 "$(line_at program-folder)")")

echo "--- installing through the reader"
walk hold "$title" >"$out/hold.txt" &
hold_pid=$!
walk press "$title" pushbutton Install >/dev/null || fail "\"Install\" has no default action"
read_tree Message
check "the message box is a dialog named \"Message\"" test "$(field 2 "$(head -1 <<<"$tree")")" = dialog
check "it reads \"The installation was successful\"" test -n "$(line_named statictext "The installation was successful")"
check "and offers \"OK\"" test -n "$(line_named pushbutton OK)"
walk press Message pushbutton OK >/dev/null
check "\"OK\" closes the message box" not xdotool search --onlyvisible --name '^Message$'
check "the product is registered" registered $product
check "the program files are installed" test -f "$program_unix/Hello.exe"
read_tree "$title"
check "\"Uninstall\" is available now" not has_state unavailable "$(line_at uninstall)"
log_file=$(unix_path "$(wine cmd /c echo %TEMP% </dev/null 2>/dev/null | tr -d '\r')")/Listen_Setup.log
check "the log view's value is the newest log line" test "$(field 4 "$(line_at log-view)" | sed -E 's/^[^ ]+  [0-9:]+  //')" \
  = "$(tail -1 "$log_file" | tr -d '\r' | sed -E 's/^[^ ]+  [0-9:]+  //')"

echo "--- the folder browser and the log view's menu"
walk press "$title" pushbutton Search >/dev/null
read_tree "Choose a directory"
check "the browser's tree is an outline whose value is the selected folder" \
  test -n "$(awk -F'|' '$2 == "outline" && $4 ~ /^[A-Za-z]:\\/' <<<"$tree")"
check "its tool bar buttons are named by their hints" test -n "$(line_named pushbutton "Make Directory")"
check "it offers \"Ok\" and \"Cancel\"" test -n "$(line_named pushbutton Ok)" -a -n "$(line_named pushbutton Cancel)"
walk press "Choose a directory" pushbutton Cancel >/dev/null
check "\"Cancel\" closes the browser" not xdotool search --onlyvisible --name '^Choose a directory$'
read_tree "$title"
read -r px py < <(widget_point log-view)
xdotool mousemove "$px" "$py" click 3
read_tree class:MyTool
check "the log view's menu is a menu of items" \
  test "$(field 2 "$(head -1 <<<"$tree")")/$(field 2 "$(line_named menuitem "Copy selected text")")" = "menupopup/menuitem"
xdotool key Escape
sleep 0.3

echo "--- uninstalling through the reader"
walk press "$title" pushbutton Uninstall >/dev/null || fail "\"Uninstall\" has no default action"
read_tree Message
walk press Message pushbutton OK >/dev/null
check "the product is no longer registered" not registered $product
walk press "$title" pushbutton Close >/dev/null
for i in $(seq 100); do
  kill -0 "$setup_pid" 2>/dev/null || break
  sleep 0.1
done
check "\"Close\" ends the setup" not kill -0 "$setup_pid" 2>/dev/null
wait "$hold_pid"
check "a reader holding the window's object is refused once the setup has ended" grep -q '^refused ' "$out/hold.txt"
echo "the ended setup's object answered: $(cat "$out/hold.txt")"

if [ $failures -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
