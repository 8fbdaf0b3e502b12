#!/usr/bin/env bash
# tool_point prints "X Y", two arguments of move, click and drag.
# shellcheck disable=SC2046
# Drives the toolkit gallery under Wine on the virtual display as a user
# would: moves the window by its caption, resizes it by its corner and by
# keys, hovers and clicks the tool bar, scrolls with the arrows, the thumb
# and the keys, opens the context menu at the screen's corner, opens the
# modal dialog and clicks its disabled owner, and presses the close button
# on and off it. It checks what the gallery reports in its event log and
# compares cropped screenshots with the committed reference pictures.
#
#   run-gallery-tests.sh GALLERY_EXE SKIN_ARCHIVE REFERENCE_DIR OUTPUT_DIR
#
# Needs the environment of scripts/wine-env.sh (DISPLAY, WINEPREFIX) with
# wine_env_start run; without a display it skips (exit 77). The screenshots
# stay in OUTPUT_DIR for a person to look at; TARNELL_UPDATE_REFERENCES=1
# copies them over the references instead of comparing.
set -u

gallery=$1
skin=$2
reference=$3
out=$4
source "$(dirname "$0")/gallery-lib.sh"

# ===================================================================================
start_gallery main 60 60 || exit 1
read -r _ _ wx wy ww wh < <(wait_event main '^ready main ')
read -r _ vx vy vw vh < <(wait_event main '^view ')
read -r _ tx ty _ _ < <(wait_event main '^toolbar ')
read -r _ close_left close_top close_width close_height < <(wait_event main '^close-button ')
# The tool bar's buttons by number, from the bar's corner, as the gallery
# lays them out.
declare -A tool_box
while read -r _ number x y w h; do tool_box[$number]="$x $y $w $h"; done < <(grep '^tool ' "${events[main]}")
# tool_point N [DX]: the middle of button N of the main tool bar (DX pixels
# to the right of it).
tool_point() {
  local x y w h
  read -r x y w h <<<"${tool_box[$1]}"
  echo "$((tx + x + w / 2 + ${2:-0})) $((ty + y + h / 2))"
}
cy=$((wy + 2))  # the client area's top
# middle NAME: the middle of the box that the gallery's line "NAME X Y W H"
# gives, on the screen.
middle() { wait_event main "^$1 " | awk '{ print $(NF - 3) + int($(NF - 1) / 2), $(NF - 2) + int($NF / 2) }'; }
read -r caption_x caption_y < <(middle caption)
read -r view_x view_y < <(middle view)
read -r arrow_x arrow_y < <(middle 'scroll-part down-arrow')
read -r thumb_x thumb_y < <(middle 'scroll-part thumb')
shoot main "$wx" "$wy" "$ww" "$wh"

# Moving the window by its caption: it follows the pointer exactly.
mark main
drag "$caption_x" "$caption_y" $((caption_x + 90)) $((caption_y + 60))
expect_event main "^position main $((wx + 90)) $((wy + 60)) $ww $wh\$" "the caption drags the window by the pointer's displacement"
wx=$((wx + 90)) wy=$((wy + 60)) cy=$((cy + 60)) vx=$((vx + 90)) vy=$((vy + 60)) tx=$((tx + 90)) ty=$((ty + 60))
close_left=$((close_left + 90)) close_top=$((close_top + 60))
caption_x=$((caption_x + 90)) caption_y=$((caption_y + 60)) view_x=$((view_x + 90)) view_y=$((view_y + 60))
arrow_x=$((arrow_x + 90)) arrow_y=$((arrow_y + 60)) thumb_x=$((thumb_x + 90)) thumb_y=$((thumb_y + 60))

# The frame's corner: never below the size the window was made with.
mark main
drag $((wx + ww - 1)) $((wy + wh - 1)) $((wx + ww - 101)) $((wy + wh - 81))
expect_no_event main "^position main" "the corner does not shrink the window below its made size" 0.3
drag $((wx + ww - 1)) $((wy + wh - 1)) $((wx + ww + 59)) $((wy + wh + 39))
expect_event main "^position main $wx $wy $((ww + 60)) $((wh + 40))\$" "the corner drag grows the window"
shoot resized "$wx" "$wy" $((ww + 60)) $((wh + 40))
mark main
drag $((wx + ww + 59)) $((wy + wh + 39)) $((wx + ww - 1)) $((wy + wh - 1))
expect_event main "^position main $wx $wy $ww $wh\$" "the corner drag shrinks it back"

# Alt+F5 to F12 resize and move the window by 8 pixels.
move "$view_x" "$view_y"
mark main
key alt+F5
expect_event main "^position main $wx $wy $((ww + 8)) $wh\$" "Alt+F5 widens the window"
mark main
key alt+F6
expect_event main "^position main $wx $wy $ww $wh\$" "Alt+F6 narrows it"
mark main
key alt+F12
expect_event main "^position main $wx $((wy - 8)) $ww $wh\$" "Alt+F12 moves it up"
mark main
key alt+shift+F12
expect_event main "^position main $wx $wy $ww $wh\$" "Alt+Shift+F12 moves it down"

# Tool bar: hints follow the pointer from button to button and leave over
# a separator; a release over another button sends that button's command.
mark main
move $(tool_point 1)
move $(tool_point 1 1)
expect_event main '^hint Make a new folder$' "hovering a tool button shows its tip"
move $(tool_point 2)
expect_event main '^hint Delete the selection$' "the hint moves to the next button's tip"
shoot toolbar-hint "$wx" $((cy + 20)) 240 56
mark main
move $(tool_point 3)  # a separator
expect_event main '^hint-hidden$' "the hint goes over a separator"
mark main
click $(tool_point 4)
expect_event main '^notify 103 30$' "the toggle button sends its command"
mark main
drag $(tool_point 1) $(tool_point 2)
expect_event main '^notify 102 30$' "a release over another button sends that one's command"

# Scrolling: a short click on an arrow does nothing, a held arrow repeats,
# the thumb follows a drag, the keys scroll the focused view.
mark main
move "$arrow_x" "$arrow_y"
xdotool mousedown 1 && sleep 0.1 && xdotool mouseup 1
expect_no_event main '^scroll ' "a click shorter than the repeat delay does not scroll"
# The arrow is held until the eighth step shows rather than for a fixed
# time: a busy machine only delays the gallery's timer, so the one timed
# check is that this step (500 ms + 7 x 50 ms after the press) comes no
# sooner than 800 ms, measured from before the press. Held so briefly, the
# view stays less than its height from the top, so Home below moves pixels
# that stay in view (Wine's ScrollWindowEx copies rows from outside the
# scrolled rectangle when the shift exceeds it).
scroll_steps() { tail -n +$((${marks[main]} + 1)) "${events[main]}" | grep -c '^scroll 0 '; }
mark main
move "$arrow_x" "$arrow_y"
pressed=$(date +%s%N)
xdotool mousedown 1
deadline=$((SECONDS + 10))
until [ "$(scroll_steps)" -ge 8 ] || [ $SECONDS -ge $deadline ]; do sleep 0.02; done
held_ms=$((($(date +%s%N) - pressed) / 1000000))
xdotool mouseup 1
sleep 0.3
steps=$(scroll_steps)
last=$(tail -n +$((${marks[main]} + 1)) "${events[main]}" | grep '^scroll 0 ' | tail -1 | cut -d' ' -f3)
if [ "$steps" -ge 8 ] && [ "$held_ms" -ge 800 ] && [ "${last:-0}" -eq $((steps * 16)) ]; then
  pass "a held arrow scrolls a line after 500 ms and then every 50 ms ($steps steps, the eighth after $held_ms ms)"
else
  fail "a held arrow scrolled $steps steps to ${last:-nothing}, the eighth after $held_ms ms"
fi
expect_no_event main "^scroll 0 $((steps * 16 + 16))\$" "releasing the arrow stops the scrolling" 0.3
mark main
click "$view_x" "$view_y"
key Home
expect_event main '^scroll 0 0$' "Home scrolls the focused view to the top"
# The thumb at the top: drag it 40 pixels down. The offset moves by the
# share of the content those 40 pixels are of the thumb's travel.
track=$((vh - 30)) content=900
thumb=$(((track * vh + content / 2) / content)); [ $thumb -lt 20 ] && thumb=20
expected=$(((40 * (content - vh) + (track - thumb) / 2) / (track - thumb)))
mark main
drag "$thumb_x" "$thumb_y" "$thumb_x" $((thumb_y + 40))
sleep 0.2
last=$(tail -n +$((${marks[main]} + 1)) "${events[main]}" | grep '^scroll 0 ' | tail -1 | cut -d' ' -f3)
if [ -n "$last" ] && [ $((last - expected)) -le 1 ] && [ $((expected - last)) -le 1 ]; then
  pass "the thumb follows the pointer (offset $last)"
else
  fail "the thumb drag scrolled to ${last:-nothing}, expected $expected"
fi
shoot scrolled "$wx" "$wy" "$ww" "$wh"
mark main
move "$view_x" "$view_y"
key Home Down Down Down
expect_event main '^scroll 0 48$' "the arrow keys scroll the focused view"

# The context menu at the screen's corner opens moved left and up, whole.
nx=$((screen_width - 250)) ny=$((screen_height - 180))
mark main
drag "$caption_x" "$caption_y" $((caption_x + nx - wx)) $((caption_y + ny - wy))
expect_event main "^position main $nx $ny " "the window goes to the screen's corner"
mark main
click $((screen_width - 4)) $((screen_height - 4)) 3
read -r _ mx my mw mh < <(wait_event main '^menu-open ')
if [ -n "${mh:-}" ] && [ $((mx + mw)) -le "$screen_width" ] && [ $((my + mh)) -le "$screen_height" ] \
  && [ "$mx" -lt $((screen_width - 4)) ] && [ "$my" -lt $((screen_height - 4)) ]; then
  pass "the menu near the corner opens moved left and up, whole on the screen"
  shoot menu "$mx" "$my" "$mw" "$mh"
else
  fail "the menu opened at ${mx:-?} ${my:-?} size ${mw:-?} x ${mh:-?}"
fi
mark main
key Down Down
shoot menu-keys "${mx:-0}" "${my:-0}" "${mw:-1}" "${mh:-1}"
key Return
expect_event main '^notify 1750 40$' "Down, Down and Enter choose the second item"
mark main
click $((screen_width - 4)) $((screen_height - 4)) 3
key Escape
expect_event main '^menu-closed$' "Escape closes the menu"
mark main
drag $((caption_x + nx - wx)) $((caption_y + ny - wy)) "$caption_x" "$caption_y"
expect_event main "^position main $wx $wy " "the window comes back by its caption"

# Switching to another application closes the open menu.
start_gallery other $((screen_width - 460)) 40
mark main
click "$view_x" "$view_y" 3
wait_event main '^menu-open ' >/dev/null
click $((screen_width - 200)) 200
expect_event main '^menu-closed$' "switching to another application closes the menu"

# The dialog disables its owner; a click on the owner brings the dialog back.
mark main
click $(tool_point 9)
expect_event main '^owner-enabled 0$' "the dialog disables its owner"
read -r _ _ dx dy dw dh < <(wait_event main '^dialog-shown ')
shoot dialog "$wx" "$wy" "$ww" "$wh"
mark main
click $(tool_point 1)
expect_no_event main '^notify ' "the disabled owner takes no clicks"
mark main
click $((screen_width - 200)) 200  # the other gallery becomes the active one
expect_event main '^activate dialog 0$' "another application takes the activation"
mark main
click $(tool_point 1)  # the owner, outside the dialog
expect_event main '^activate dialog 1$' "a click on the disabled owner activates the dialog"
mark other
move $((screen_width - 200)) 200
key alt+F4
expect_event other '^quit$' "Alt+F4 closes the other gallery"
mark main
move $((dx + dw / 2)) $((dy + dh / 2))
key alt+F4
expect_event main '^dialog-closed$' "Alt+F4 closes the dialog, not its owner"
expect_event main '^owner-enabled 1$' "closing the dialog enables its owner again"
expect_no_event main '^close main$' "the owner stays open" 0.3
mark main
click $(tool_point 9)
expect_event main '^dialog-shown ' "the dialog opens again"
read -r _ dialog_bar_x dialog_bar_y < <(wait_event main '^dialog-toolbar ')
read -r _ _ x y w h < <(wait_event main '^dialog-tool 2 ')
mark main
click $((dialog_bar_x + x + w / 2)) $((dialog_bar_y + y + h / 2))
expect_event main '^dialog-notify 202 60$' "the dialog's tool bar sends its command"
expect_event main '^dialog-closed$' "and the command closes it"

# The close button: released off it nothing happens, released after coming
# back onto it the window closes.
close_x=$((close_left + close_width / 2)) close_y=$((close_top + close_height / 2))
mark main
move $close_x $close_y
xdotool mousedown 1
sleep 0.2
# The three title buttons, the close button rightmost.
shoot close-pressed $((close_left + close_width - 60)) "$close_top" 60 "$close_height"
move $((close_x - 60)) $close_y
move $((close_x - 100)) $((close_y + 40))
xdotool mouseup 1
expect_no_event main '^close main$' "releasing the close button off it does not close"
mark main
move $close_x $close_y
xdotool mousedown 1
sleep 0.1
move $((close_x - 60)) $close_y
move $close_x $close_y
xdotool mouseup 1
expect_event main '^close main$' "pressing close, leaving it and coming back closes the window"
expect_event main '^quit$' "the gallery ends"
expect_exit main
finish "all gallery checks passed"
