#!/usr/bin/env bash
# Drives the real setup under Wine on the virtual display as a person would:
# installs the example product by clicking "Install", runs the installed
# setup copy ("Repair") and an update package ("Update"), works the folder
# browser (start paths, making, renaming and deleting folders, "Ok" into the
# field that asked), refuses a folder of more than 512 characters, uninstalls
# from the copy and waits for the batch to take the copy and its folder,
# and checks the window for a package without associations and data folder.
# It reads what the setup leaves (log file, files, registry, shortcuts,
# service), copies text out of the fields and the log view through the
# clipboard, and compares screenshots with the committed references.
#
#   run-setup-window-tests.sh SETUP_STUB TARNELL_PACK SETUP_LAYOUT HELLO_EXE
#                             HELLO_AGENT_EXE CLIPBOARD_TOOL_EXE REFERENCE_DIR
#                             OUTPUT_DIR
#
# SETUP_LAYOUT is the native setup-layout tool: the script clicks the
# window's widgets by name where it says they are.
#
# Needs the environment of scripts/wine-env.sh (DISPLAY, WINEPREFIX) with
# wine_env_start run, on a prefix where the example product is not
# installed; without a display it skips (exit 77). The screenshots stay in
# OUTPUT_DIR for a person to look at; TARNELL_UPDATE_REFERENCES=1 copies them
# over the references instead of comparing.
set -u

stub=$1
pack=$2
setup_layout=$3
hello_exe=$4
agent_exe=$5
clipboard_tool=$6
reference=$7
out=$8
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

pause=0.3
source "$root/tests/support/setup-window-lib.sh"
require_tools
# --- the machine ---------------------------------------------------------------
read_machine "$stub"

registered Hello && skip "the example product is installed in this prefix; start from a fresh one (wine_env_start)"
registered Plain && skip "the test product Plain is installed in this prefix; start from a fresh one (wine_env_start)"

# --- the packages ---------------------------------------------------------------
stage=$out/packages
rm -rf "$stage"
stage_example hello
stage_example update
mkdir -p "$stage/plain"
sed -i 's/^version = "1.0"/version = "1.1"/' "$stage/update/hello.toml"
cp "$here/packages/plain.toml" "$here/packages/Plain.txt" "$stage/plain/"
hello_setup=$stage/Hello_Setup.exe
update_setup=$stage/Hello_Update.exe
plain_setup=$stage/Plain_Setup.exe
for built in "hello/hello.toml:$hello_setup" "update/hello.toml:$update_setup" "plain/plain.toml:$plain_setup"; do
  pack_setup "$stage/${built%%:*}" "${built#*:}"
done

# --- the setup processes ----------------------------------------------------------
# Closes the setup with Alt+F4 and checks how it ended.
close_setup() {
  move_to_widget header
  key alt+F4
  await_end "$1"
}
trap '[ -n "$setup_pid" ] && kill "$setup_pid" 2>/dev/null' EXIT

# --- the keyboard and the clipboard ----------------------------------------------------
type_text() {
  xdotool type --delay 3 -- "$1"
  sleep 0.3
}
# field_text NAME: the text of the setup window's field NAME.
field_text() {
  click_widget "$1"
  key ctrl+a ctrl+c
  clipboard --raw
}
# set_field NAME TEXT
set_field() {
  click_widget "$1"
  key ctrl+a
  type_text "$2"
}

# Waits for the message box and closes it with its "OK" button; shoots it
# first when a name is given.
answer_message() {
  local bx by bw bh
  read -r bx by bw bh < <(window_of Message 120) || {
    fail "no message box appeared"
    return 1
  }
  [ -n "${1:-}" ] && shoot "$1" "$bx" "$by" "$bw" "$bh"
  click_in message-box ok "$bx" "$by" "$bw" "$bh"
  check "the message box closes with OK" gone Message
}

# --- the widgets -------------------------------------------------------------------
# click_widget NAME [BUTTON]
click_widget() {
  local x y
  read -r x y < <(widget_point "$1")
  click "$x" "$y" "${2:-1}"
}
move_to_widget() {
  local x y
  read -r x y < <(widget_point "$1")
  move "$x" "$y"
}
# click_in KIND NAME X Y W H [BUTTON]: widget NAME of the dialog of that
# kind whose frame lies at X Y W H (as window_of reads it).
click_in() {
  local x y
  read -r x y < <(dialog_layout_point "$setup_layout" "$1" "$2" "$3" "$4" "$5" "$6") || {
    fail "no $2 in the $1"
    return 1
  }
  click "$x" "$y" "${7:-1}"
}
move_in() {
  local x y
  read -r x y < <(dialog_layout_point "$setup_layout" "$1" "$2" "$3" "$4" "$5" "$6") || return 1
  move "$x" "$y"
}
# click_menu_item MENU NAME X Y: an item of the context menu that opened
# with its top-left corner at X Y.
click_menu_item() {
  local x y
  read -r x y < <(layout_point "$setup_layout" "$3" "$4" "$2" --menu "$1") || {
    fail "no $2 in the $1 menu"
    return 1
  }
  click "$x" "$y"
}

# The parts of the setup window that look the same on every machine: the
# header, the option and association rows (from the option rows to the log
# view) and the button row; not the folder fields, which hold the user's
# name, nor the log view, whose lines carry the time.
# shoot_window NAME
shoot_window() {
  # A click on the header picture makes the window active: its caption is
  # drawn black then, whatever had the activation before.
  click_widget header
  local options_top view_top
  options_top=$(($(widget_edge start-menu-shortcuts top) - 4))
  view_top=$(widget_edge log-view top)
  shoot "$1-header" "$WX" "$WY" "$WW" $((2 + $(widget_edge header bottom)))
  shoot "$1-options" "$WX" $((CY + options_top)) "$WW" $((view_top - options_top))
  shoot "$1-buttons" "$WX" $((WY + WH - 40)) "$WW" 40
}

# =====================================================================================
echo "--- installing on a fresh machine"
load_layout
start_setup "$hello_setup" "Hello Setup" || exit 1
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
check "the window has the whole layout, 500 x 440 inside its frame" test "$WW x $WH" = "504 x 444"
check "the window is centred on the screen" test "$WX,$WY" = "$(((screen_w - 504) / 2)),$(((screen_h - 444) / 2))"
shoot_window fresh
# Where the setup will install: the program folder it offers.
program_unix=$(unix_path "$(field_text program-folder)")
default_data=$(field_text data-folder)
check "the data folder is the user's default" same_path "$default_data" "$(wine_windows_path "$appdata_unix/Tarnell")"
# "For all user on this machine" swaps the default data folder, and back.
click_widget all-users
all_users_data=$(field_text data-folder)
check "the all-users box makes it the all-users default" \
  same_path "$all_users_data" "$(wine cmd /c echo %ProgramData%\\Tarnell </dev/null 2>/dev/null | tr -d '\r')"
fields_top=$(($(widget_edge data-folder-label top) - 4))
shoot fields-all-users "$CX" $((CY + fields_top)) "$(widget_edge window right)" \
  $(($(widget_edge keep-data bottom) + 1 - fields_top))
click_widget all-users
check "unchecking it brings the user's default back" test "$(field_text data-folder)" = "$default_data"

click_widget install
answer_message message-installed
shoot_window installed
check "the program files are installed" test -f "$program_unix/Hello.exe" -a -f "$program_unix/HelloAgent.exe" \
  -a -f "$program_unix/Readme.txt"
check "the setup copy is in the program folder" test -f "$program_unix/Hello_Setup.exe"
check "the data file is in the data folder" test -f "$appdata_unix/Tarnell/Welcome.hlo"
check "the product is registered" registered Hello
check "the service is installed" service_exists HelloAgent
check "the file types are associated" test "$(file_type_of hlo)/$(file_type_of hlg)" != "/"
check "the start-menu shortcuts are there" test -f "$appdata_unix/Microsoft/Windows/Start Menu/Programs/Tarnell/Hello.lnk"
# The log view holds the lines of the run, as the log file has them.
click_widget log-view
key ctrl+a
click_widget log-view 3
read -r menu_x menu_y < <(widget_point log-view)
click_menu_item log-view copy-selected-text "$menu_x" "$menu_y"
view_lines=$(clipboard --raw | tr -d '\r' | sed -E '/^$/d; s/^[^ ]+  [0-9:]+  //')
check "the log view shows the run's lines" test "$view_lines" = "$(run_lines)"
[ "$view_lines" = "$(run_lines)" ] || diff <(echo "$view_lines") <(run_lines)
check "the run's lines begin with \"Setup started\" and the version" \
  test "$(run_lines | head -2 | tr '\n' '|')" = "Setup started|Version of this package: english, 1.0|"
close_setup "install"

echo "--- the installed setup copy"
start_setup "$program_unix/Hello_Setup.exe" "Hello Setup" || exit 1
shoot_window copy
check "the copy reads no second package" test "$(run_lines | grep -c 'Installed version')" = 0

# The folder browser, on a folder tree of the test's own in the temporary folder.
scratch_win="$temp_win\\tarnell-browser-test"
scratch_unix="$temp_unix/tarnell-browser-test"
rm -rf "$scratch_unix"
mkdir -p "$scratch_unix/a/b"
program_before=$(field_text program-folder)
# A nested start path with a lower-case drive letter, whose last part does
# not exist: the browser opens at the longest prefix that does.
lower_start="$(echo "${scratch_win:0:1}" | tr 'A-Z' 'a-z')${scratch_win:1}\\a\\b\\missing"
set_field data-folder "$lower_start"
click_widget data-folder-search
read -r bx by bw bh < <(window_of "Choose a directory") || fail "the folder browser did not open"
check "the folder browser is 296 x 272 inside its frame" test "$bw x $bh" = "300 x 276"
move_in folder-browser tree "$bx" "$by" "$bw" "$bh"
key Return
check "Ok closes the browser" gone "Choose a directory"
check "Ok puts the longest existing prefix into the data field" \
  same_path "$(field_text data-folder)" "$(wine_windows_path "$scratch_unix/a/b")"
check "the program field keeps its folder" test "$(field_text program-folder)" = "$program_before"
# Cancel leaves the field alone.
click_widget program-folder-search
read -r bx by bw bh < <(window_of "Choose a directory")
# The program folder differs between 32- and 64-bit setups, and so does
# the tree opened there.
shoot "browser-program-folder-$bits" "$bx" "$by" "$bw" "$bh"
move_in folder-browser tree "$bx" "$by" "$bw" "$bh"
key Escape
check "Escape closes the browser" gone "Choose a directory"
check "after Cancel the program field keeps its folder" test "$(field_text program-folder)" = "$program_before"

# A new folder's name is one folder in the selected one: a name with a
# backslash or ".." parts, which would make folders elsewhere, is refused.
# make_folder NAME: Insert in the open browser, the name, Return.
make_folder() {
  move_in folder-browser tree "$bx" "$by" "$bw" "$bh"
  key Insert
  read -r ix iy iw ih < <(window_of "Make directory") || fail "Insert did not ask for a name"
  move_in text-input field "$ix" "$iy" "$iw" "$ih"
  type_text "$1"
  key Return
  gone "Make directory"
}
click_widget data-folder-search
read -r bx by bw bh < <(window_of "Choose a directory")
make_folder 'made\..\..\escaped'
check "a name leading elsewhere makes nothing" \
  test ! -e "$scratch_unix/a/escaped" -a ! -e "$scratch_unix/a/b/made" -a ! -e "$scratch_unix/escaped"

# Making folders one in another: each new folder is selected at once.
make_folder made
make_folder deeper
check "the folders are made" test -d "$scratch_unix/a/b/made/deeper"
check "making a folder is logged" test "$(run_lines | grep -c "Directory created: .*made.deeper")" = 1
check "the refused name is logged" \
  test "$(run_lines | grep -cF 'Directory NOT created: made\..\..\escaped')" = 1
move_in folder-browser tree "$bx" "$by" "$bw" "$bh"
key Return
gone "Choose a directory"
check "the new folder is the one chosen" \
  same_path "$(field_text data-folder)" "$(wine_windows_path "$scratch_unix/a/b/made/deeper")"

# Renaming with the tool bar's button.
click_widget data-folder-search
read -r bx by bw bh < <(window_of "Choose a directory")
click_in folder-browser rename "$bx" "$by" "$bw" "$bh"
read -r ix iy iw ih < <(window_of "Rename a file or folder") || fail "the rename button did not ask for a name"
shoot rename-dialog "$ix" "$iy" "$iw" "$ih"
move_in text-input field "$ix" "$iy" "$iw" "$ih"
type_text renamed
key Return
check "the folder is renamed" test -d "$scratch_unix/a/b/made/renamed" -a ! -e "$scratch_unix/a/b/made/deeper"
check "renaming is logged" test "$(run_lines | grep -c "File renamed: .*deeper ->-> renamed")" = 1

# Deleting asks first: No keeps the folder, Yes deletes it.
move_in folder-browser tree "$bx" "$by" "$bw" "$bh"
key Delete
read -r qx qy qw qh < <(window_of "Please confirm") || fail "Delete did not ask"
shoot question "$qx" "$qy" 260 38
move_in question question "$qx" "$qy" "$qw" "$qh"
key Escape
check "No keeps the folder" test -d "$scratch_unix/a/b/made/renamed"
move_in folder-browser tree "$bx" "$by" "$bw" "$bh"
key Delete
read -r qx qy qw qh < <(window_of "Please confirm")
click_in question yes "$qx" "$qy" "$qw" "$qh"
check "Yes deletes the folder" test ! -e "$scratch_unix/a/b/made/renamed" -a -d "$scratch_unix/a/b/made"
check "deleting is logged" test "$(run_lines | grep -c "Directory deleted: .*made.renamed")" = 1
move_in folder-browser tree "$bx" "$by" "$bw" "$bh"
key Escape
rm -rf "$scratch_unix"
close_setup "the setup copy"

echo "--- an update package"
start_setup "$update_setup" "Hello Setup" || exit 1
shoot_window update
check "the update reads the installed copy's version" \
  test "$(run_lines | grep -c 'Installed version: english, 1.0')" = 1
close_setup "the update"

echo "--- uninstalling from the setup copy"
start_setup "$program_unix/Hello_Setup.exe" "Hello Setup" || exit 1
click_widget uninstall
answer_message message-uninstalled
shoot_window uninstalled
check "the product is no longer registered" not registered Hello
check "the service is gone" not service_exists HelloAgent
check "the data file is gone" test ! -e "$appdata_unix/Tarnell/Welcome.hlo"
close_setup "the uninstall"
for i in $(seq 100); do
  [ -e "$program_unix" ] || break
  sleep 0.2
done
check "after the window closed the batch removed the copy and its folder" test ! -e "$program_unix"

echo "--- a package without associations and data folder"
load_layout --associations 0 --no-data-folder
start_setup "$plain_setup" "Plain Setup" || exit 1
check "the window is 112 pixels lower" test "$WW x $WH" = "504 x 332"
shoot_window plain
# A folder of more than 512 characters is refused, and nothing is installed.
long_folder="C:\\$(printf 'x%.0s' $(seq 520))"
set_field program-folder "$long_folder"
click_widget install
answer_message message-too-long
check "nothing is installed with a refused folder" not registered Plain
close_setup "the refused install"

if [ $failures -gt 0 ]; then
  echo "$failures check(s) failed; screenshots in $out"
  exit 1
fi
echo "all checks passed; screenshots in $out"
