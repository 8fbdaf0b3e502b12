# shellcheck shell=bash
# What every script that drives real windows on the virtual display needs,
# sourced after it sets
#   reference  the reference pictures   out  where screenshots go
# and, to read the clipboard, clipboard_tool (tests/support/clipboard_tool.cpp),
# and optionally `pause`, the seconds to wait after a click or a key (0.15).
# It checks the environment (skipping with 77 without a display or a Wine
# prefix), brings the verdicts of check-lib.sh, moves the mouse, presses
# keys, and compares cropped screenshots with the references.

# shellcheck source=tests/support/check-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/check-lib.sh"
[ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1 \
  || skip "no X display; source scripts/wine-env.sh and run wine_env_start first"
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || skip "no Wine prefix; source scripts/wine-env.sh and run wine_env_start first"
for tool in wine xdotool import convert compare; do
  command -v $tool >/dev/null || skip "$tool is not installed"
done

mkdir -p "$out"
rm -f "$out"/*.png

# --- the mouse and the keyboard ------------------------------------------------
pause=${pause:-0.15}
move() { xdotool mousemove "$1" "$2"; sleep 0.1; }
click() {
  move "$1" "$2"
  xdotool click "${3:-1}"
  sleep "$pause"
}
# Keys go to the window under the pointer: move there first.
key() {
  xdotool key "$@"
  sleep "$pause"
}

# --- the clipboard -----------------------------------------------------------------
# As another program sees it, through clipboard-tool ($clipboard_tool):
# clipboard prints its text with CR and LF written \r and \n (clipboard --raw:
# as it is); set_clipboard TEXT puts TEXT there (\r and \n stand for CR, LF).
clipboard() {
  if [ "${1:-}" = --raw ]; then
    wine "$clipboard_tool" --raw </dev/null 2>/dev/null
  else
    wine "$clipboard_tool" </dev/null 2>/dev/null | tr -d '\r'  # the console's line end
  fi
}
set_clipboard() { wine "$clipboard_tool" --set "$1" </dev/null >/dev/null 2>&1; }

# --- screenshots -------------------------------------------------------------------
# shoot NAME X Y W H: waits until the screen is still, crops, compares.
shoot() {
  local name=$1 crop="${4}x${5}+${2}+${3}" previous="" now i
  for i in $(seq 20); do
    import -window root "$out/screen.png"
    now=$(convert "$out/screen.png" -crop "$crop" +repage rgba:- | md5sum)
    [ "$now" = "$previous" ] && break
    previous=$now
    sleep 0.15
  done
  # Without time chunks, a picture taken again is the same file.
  convert "$out/screen.png" -crop "$crop" +repage -define png:exclude-chunks=date,time "$out/$name.png"
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
