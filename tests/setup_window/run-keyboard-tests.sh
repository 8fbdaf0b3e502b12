#!/usr/bin/env bash
# Installs and uninstalls the example product under Wine on the virtual
# display with the keyboard alone, as a person who cannot use a mouse
# would: no pointer event at all, only keys sent to the window that has the
# keyboard focus. Tab and Shift+Tab walk the widgets in layout order, Space
# toggles the options, Enter and Space press buttons, the menu key and
# Shift+F10 open the log view's menu and the arrows and Enter choose from it,
# Enter and Escape close the message box, and Alt+F4 closes the window.
# The product must end up installed with the options chosen, then gone.
#
#   run-keyboard-tests.sh SETUP_STUB TARNELL_PACK SETUP_LAYOUT HELLO_EXE
#                         HELLO_AGENT_EXE CLIPBOARD_TOOL_EXE OUTPUT_DIR
#
# Needs the environment of scripts/wine-env.sh with wine_env_start run, on a
# prefix where the example product is not installed; without a display it
# skips (exit 77). On a failure the screen is kept in OUTPUT_DIR.
set -u

stub=$1
pack=$2
setup_layout=$3
hello_exe=$4
agent_exe=$5
clipboard_tool=$6
out=$7
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
reference=$here/reference

pause=0.3
source "$root/tests/support/setup-window-lib.sh"
require_tools
# A failed check leaves the whole screen behind for a person to look at.
failed_shots=0
after_failure() {
  failed_shots=$((failed_shots + 1))
  import -window root "$out/failure-$failed_shots.png" 2>/dev/null
}

# --- the machine ---------------------------------------------------------------
read_machine "$stub"
profile_unix=$(unix_path "$(wine cmd /c echo %USERPROFILE% </dev/null 2>/dev/null | tr -d '\r')")
user_path() { wine reg query 'HKCU\Environment' /v Path </dev/null 2>/dev/null | tr -d '\r'; }
registered Hello && skip "the example product is installed in this prefix; start from a fresh one (wine_env_start)"

# --- the package -------------------------------------------------------------------
stage=$out/packages
rm -rf "$stage"
stage_example hello
hello_setup=$stage/Hello_Setup.exe
pack_setup "$stage/hello/hello.toml" "$hello_setup"
trap '[ -n "$setup_pid" ] && kill "$setup_pid" 2>/dev/null' EXIT

# --- keys only -----------------------------------------------------------------------
# Keys go to the X window with the keyboard focus. Without a window manager
# nothing gives a new window that focus, so the script hands it over, as a
# window manager would on activation: no pointer moves.
focus_title() {
  local id
  id=$(timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
  [ -n "$id" ] || return 1
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  sleep 0.2
}

# The tab stops of the window in layout order, as setup-layout names them
# for the window's shape ($shape, its options); ARGS are the names of the
# ones disabled now. The window starts with the focus on the first.
declare -a stops
focus_at=0
load_stops() {
  stops=()
  local name
  while read -r name _; do
    case $name in
      program-folder | data-folder | *-search | start-menu-shortcuts | desktop-shortcut | all-users | add-to-path \
        | keep-data | association-[0-9] | log-view | uninstall | install | close)
        [[ " $* " == *" $name "* ]] || stops+=("$name") ;;
    esac
  done < <("$setup_layout" $shape)
  focus_at=0
}
# stop_index NAME: where the widget is among the tab stops, or -1.
stop_index() {
  local i
  for i in "${!stops[@]}"; do [ "${stops[$i]}" = "$1" ] && echo "$i" && return; done
  echo -1
}
# tab_to NAME: Tab forward to the widget, or Shift+Tab back when that is
# shorter, counting from where the focus is.
tab_to() {
  local i target count=${#stops[@]}
  target=$(stop_index "$1")
  if [ $target -lt 0 ]; then
    fail "$1 is no tab stop"
    return 1
  fi
  local forward=$(((target - focus_at + count) % count)) backward=$(((focus_at - target + count) % count))
  if [ $forward -le $backward ]; then
    for ((i = 0; i < forward; i++)); do key Tab; done
  else
    for ((i = 0; i < backward; i++)); do key shift+Tab; done
  fi
  focus_at=$target
  return 0
}
# answer_with KEY: the message box appears, takes the keyboard and closes with KEY.
answer_with() {
  if ! focus_title Message; then
    fail "no message box appeared"
    return 1
  fi
  key "$1"
  check "the message box closes with $1" gone Message
  focus_title "Hello Setup"
}
# Alt+F4 and how the setup ended.
close_with_alt_f4() {
  focus_title "Hello Setup"
  key alt+F4
  await_end "$1"
}

# =====================================================================================
echo "--- installing with the keyboard"
# The setup-layout options for the window's shape: the example has two
# associations and a data folder.
shape="--associations 2"
# Fresh: nothing to uninstall yet.
load_stops uninstall
start_setup "$hello_setup" "Hello Setup" || exit 1
focus_title "Hello Setup"
# Start-menu shortcuts and the associations start checked, the rest not:
# take the desktop shortcut and the second association away, add PATH.
tab_to desktop-shortcut
key space
tab_to add-to-path
key space
tab_to association-2
key space
# Back and forth over the wrap-around: Shift+Tab from the first stop
# reaches the last, Tab from the last the first.
tab_to close
tab_to program-folder
tab_to install
key Return
answer_with Return
# Installed, the uninstall button takes the focus in its turn; the focus is
# still on the install button ("Repair" now).
load_stops
focus_at=$(stop_index install)
program_unix=$(unix_path "$(wine reg query "$uninstall_key\\Hello" /v InstallLocation $view </dev/null 2>/dev/null \
  | tr -d '\r' | sed -n 's/.*REG_SZ *//p')")
check "the product is registered" registered Hello
check "the program files are installed" test -n "$program_unix" -a -f "$program_unix/Hello.exe"
check "the start-menu shortcut is there" test -f "$appdata_unix/Microsoft/Windows/Start Menu/Programs/Tarnell/Hello.lnk"
check "no desktop shortcut was made" test ! -e "$profile_unix/Desktop/Hello.lnk"
check "the program folder is on the user's PATH" grep -qiF "$(wine_windows_path "$program_unix")" <(user_path)
check "the first file type is associated" test -n "$(file_type_of hlo)"
check "the second file type is not" test -z "$(file_type_of hlg)"
# The log view's menu from the menu key: select all, then the third item
# ("Copy selected text") with the arrows and Enter.
tab_to log-view
key ctrl+a
key Menu
key Down Down Down Return
# The copy reaches the clipboard in the setup's own time.
copied_lines() { clipboard --raw | tr -d '\r' | sed -E '/^$/d; s/^[^ ]+  [0-9:]+  //'; }
view_copied() { [ "$(copied_lines)" = "$(run_lines)" ]; }
check "the menu key's menu copies the log view's lines" view_copied
view_copied || diff <(copied_lines) <(run_lines)
close_with_alt_f4 "install"

echo "--- uninstalling with the keyboard"
copy=$program_unix/Hello_Setup.exe
load_stops
start_setup "$copy" "Hello Setup" || exit 1
focus_title "Hello Setup"
# Shift+F10 opens the same menu; Escape closes it and leaves the window's keys alone.
tab_to log-view
key shift+F10
key Escape
tab_to uninstall
key space
answer_with Escape
check "the product is no longer registered" not registered Hello
check "the file type is no longer associated" test -z "$(file_type_of hlo)"
close_with_alt_f4 "uninstall"
for i in $(seq 100); do
  [ -e "$program_unix" ] || break
  sleep 0.2
done
check "after the window closed the batch removed the copy and its folder" test ! -e "$program_unix"

if [ $failures -gt 0 ]; then
  echo "$failures check(s) failed; screenshots in $out"
  exit 1
fi
echo "all checks passed"
