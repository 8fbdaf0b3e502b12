#!/usr/bin/env bash
# Drives the controls page of the toolkit gallery under Wine on the virtual
# display as a user would: clicks and Space on buttons, check boxes and
# radio buttons, a press dragged off a button, typing into the edit fields,
# selecting with Shift and the arrows and with the mouse, copy and paste
# through the real clipboard (read back and set by clipboard-tool, another
# process), the log view taking 1200 lines and its context menu, and the
# tree opened with the mouse and the keys. It checks what the gallery
# reports in its event log (F5 makes it write the controls' state) and
# compares cropped screenshots with the committed reference pictures.
#
#   run-controls-gallery-tests.sh GALLERY_EXE CLIPBOARD_TOOL SETUP_LAYOUT SKIN_ARCHIVE REFERENCE_DIR OUTPUT_DIR
#
# SETUP_LAYOUT (the native setup-layout tool) says where the log view's
# context menu items lie.
#
# Needs the environment of scripts/wine-env.sh (DISPLAY, WINEPREFIX) with
# wine_env_start run; without a display it skips (exit 77). The screenshots
# stay in OUTPUT_DIR for a person to look at; TARNELL_UPDATE_REFERENCES=1
# copies them over the references instead of comparing.
set -u

gallery=$1
clipboard_tool=$2
setup_layout=$3
skin=$4
reference=$5
out=$6
GALLERY_ARGS=(--page controls)
source "$(dirname "$0")/../gallery/gallery-lib.sh"
source "$(dirname "$0")/../support/layout-lib.sh"
[ -x "$setup_layout" ] || skip "no setup-layout at $setup_layout; build the native preset first"

expect_clipboard() {
  local got
  got=$(clipboard)
  if [ "$got" = "$1" ]; then pass "$2"; else fail "$2 (the clipboard holds '${got:0:80}')"; fi
}

# report KEY: the rest of the report line KEY after pressing F5.
report() {
  mark main
  key F5
  wait_event main "^report $1 " | cut -d' ' -f3-
}
expect_report() {
  local got
  got=$(report "$1")
  if [ "$got" = "$2" ]; then pass "$3"; else fail "$3 (report $1: '${got:0:120}')"; fi
}

# ===================================================================================
start_gallery main 60 60 || exit 1
read -r _ _ wx wy ww wh < <(wait_event main '^ready main ')
declare -A left top width height
while read -r _ id x y w h; do
  left[$id]=$x top[$id]=$y width[$id]=$w height[$id]=$h
done < <(grep '^at ' "${events[main]}")
# centre ID: the middle of a control on the screen.
centre() { echo $((left[$1] + width[$1] / 2)) $((top[$1] + height[$1] / 2)); }
click_on() {
  local x y
  read -r x y < <(centre "$1")
  click "$x" "$y" "${2:-1}"
}
# expander_point NODE: the middle of the tree node's expander on the screen.
expander_point() {
  local name x y w h
  while read -r _ name x y w h; do
    [ "$name" = "$1" ] && echo $((x + w / 2)) $((y + h / 2)) && return 0
  done < <(grep '^expander ' "${events[main]}")
  return 1
}
shoot controls "$wx" "$wy" "$ww" "$wh"

# --- Push buttons ----------------------------------------------------------------
mark main
click_on 2001
expect_event main '^notify 2001 0$' "a click on the push button sends its command"
read -r bx by < <(centre 2001)
mark main
move "$bx" "$by"
xdotool mousedown 1
sleep 0.2
shoot button-pressed "${left[2001]}" "${top[2001]}" "${width[2001]}" "${height[2001]}"
move $((bx + 150)) $((by + 60))
shoot button-dragged-off "${left[2001]}" "${top[2001]}" "${width[2001]}" "${height[2001]}"
xdotool mouseup 1
expect_no_event main '^notify 2001' "a press dragged off the button and released there sends nothing"
mark main
move "$bx" "$by"
xdotool mousedown 1
move $((bx + 150)) "$by"
move "$bx" "$by"
xdotool mouseup 1
expect_event main '^notify 2001 0$' "dragged back onto the button, the release sends its command"
mark main
click_on 2002
expect_event main '^notify 2002 0$' "the image button sends its command"
mark main
click_on 2043
expect_no_event main '^notify 2043' "the disabled button takes no clicks"

# --- Check boxes and radio buttons --------------------------------------------------
mark main
click_on 2003
expect_event main '^notify 2003 1$' "a click checks the check box and tells its state"
mark main
key space
expect_event main '^notify 2003 0$' "Space on the focused check box clears it"
click_on 2004 3
expect_report checks "0 2 0" "a right click gives the three-state box its third state"
mark main
click_on 2004
expect_event main '^notify 2004 0$' "a click takes the box out of its third state"
mark main
click_on 2012
expect_event main '^notify 2012 0$' "a click on a radio button selects it"
expect_report radios "0 1 0 1 0" "the other group keeps its choice"
mark main
click_on 2012
expect_no_event main '^notify 2012' "a click on the checked radio button does nothing"
mark main
key Tab space
expect_event main '^notify 2013 0$' "Tab and Space select the next radio button"
expect_report radios "0 0 1 1 0" "only the buttons of its own group are cleared"
shoot toggles "$((left[2003] - 4))" "$((top[2003] - 4))" 400 60

# --- Edit fields and the clipboard -----------------------------------------------------
click_on 2031
key End
xdotool type --delay 60 '\Bin'
sleep 0.2
expect_report edit1 'C:\Program Files\Tarnell\Bin' "typing goes into the field at the caret"
key shift+Home
shoot edit-selected "${left[2031]}" "${top[2031]}" "${width[2031]}" "${height[2031]}"
key ctrl+c
expect_clipboard 'C:\Program Files\Tarnell\Bin' "Shift+Home selects the line and Ctrl+C copies it"
key End shift+Left shift+Left shift+Left ctrl+c
expect_clipboard 'Bin' "Shift+Left selects back from the caret"
key ctrl+Left ctrl+Left shift+ctrl+Right ctrl+c
expect_clipboard 'Files\' "Ctrl+Shift+Right selects a word"
drag $((left[2031] + 60)) $((top[2031] + 10)) $((left[2031] + width[2031] - 4)) $((top[2031] + 10))
key ctrl+c
dragged=$(clipboard)
if [ -n "$dragged" ] && [ ${#dragged} -lt 28 ] && [[ 'C:\Program Files\Tarnell\Bin' == *"$dragged" ]]; then
  pass "a drag selects the end of the text ('$dragged')"
else
  fail "a drag to the field's end copied '$dragged'"
fi
click_on 2032
key ctrl+v
expect_report edit2 "$dragged" "Ctrl+V pastes what the clipboard holds"
key shift+Return
xdotool type --delay 60 'second line'
sleep 0.2
expect_report edit2 "$dragged\\r\\nsecond line" "Shift+Enter breaks the line in a field two lines high"
set_clipboard 'pasted\r\nfrom outside'
click_on 2031
key ctrl+a ctrl+v
expect_report edit1 'pasted' "a one-line field takes a pasted text up to its first line break"
mark main
key Return
expect_event main '^notify 13 2031$' "Enter in the field goes to the window as its default key"
click_on 2033
xdotool type --delay 60 'xy'
key BackSpace ctrl+a ctrl+c
expect_clipboard 'Read only' "the read-only field ignores typing but selects and copies"

# --- The log view ----------------------------------------------------------------------------
click_on 2041
got=$(report log)
read -r count scrolled bottom rest <<<"$got"
if [ "$count" = 701 ] && [ "$scrolled" = "$bottom" ] \
  && [ "$rest" = "[Line 0500 of the install log] [Line 1200 of the install log]" ]; then
  pass "after 1200 lines the log view holds the newest 500 and the 200 since, and shows the last"
else
  fail "after 1200 lines the log view reports '$got'"
fi
shoot log "${left[5405]}" "${top[5405]}" "${width[5405]}" "${height[5405]}"
click_on 5405
key ctrl+a ctrl+c
copied=$(clipboard)
breaks=$(grep -o '\\r\\n' <<<"$copied" | wc -l)
if [ "${copied:0:28}" = "Line 0500 of the install log" ] && [ "${copied: -28}" = "Line 1200 of the install log" ] \
  && [ "$breaks" = 700 ]; then
  pass "Ctrl+A, Ctrl+C copies all 701 lines joined by CR LF"
else
  fail "Ctrl+A, Ctrl+C copied ${#copied} bytes with $breaks line breaks"
fi
key ctrl+Home shift+Down shift+Down ctrl+c
expect_clipboard 'Line 0500 of the install log\r\nLine 0501 of the install log\r\n' \
  "a selection ending at the start of a line copies the lines before it with their CR LF"
shoot log-selected "${left[5405]}" "${top[5405]}" "${width[5405]}" "${height[5405]}"
# The context menu opens with its corner at the pointer.
read -r lx ly < <(centre 5405)
click "$lx" "$ly" 3
sleep 0.3
if read -r x y < <(layout_point "$setup_layout" "$lx" "$ly" erase-log --menu log-view); then
  click "$x" "$y"
else
  fail "setup-layout places no erase-log item in the log view's menu"
fi
expect_report log "1 0 0 [] []" "Erase Log leaves one empty line"

# --- The tree ----------------------------------------------------------------------------------
mark main
if read -r x y < <(expander_point 'C:\'); then
  click "$x" "$y"
else
  fail "the gallery places no expander for C:\\"
fi
expect_event main '^read C:\\ 3$' "a click on the expander reads the drive's folders"
expect_event main '^notify 845 2035$' "and selects the drive"
expect_report tree '[C:\] C:\0 Programs2 Tarnell2 Users2 D:\2' "the drive shows its folders"
key Down Right
expect_report tree '[Programs] C:\0 Programs0 Tools2 Games2 Tarnell2 Users2 D:\2' \
  "Down selects the next node and Right expands it"
shoot tree "${left[2035]}" "${top[2035]}" "${width[2035]}" "${height[2035]}"
key Left
expect_report tree '[Programs] C:\0 Programs1 Tarnell2 Users2 D:\2' "Left collapses the expanded node"
key End Right
expect_report tree '[D:\] C:\0 Programs1 Tarnell2 Users2 D:\3' "a drive without folders has no children"
key Home Left
expect_report tree '[C:\] C:\1 D:\3' "Home and Left collapse the first drive"

# --- Closing -----------------------------------------------------------------------------------
mark main
read -r _ x y w h < <(grep '^close-button ' "${events[main]}")
click $((x + w / 2)) $((y + h / 2))
expect_event main '^close main$' "the close button closes the window"
expect_event main '^quit$' "the gallery ends"
expect_exit main
finish "all controls gallery checks passed"
