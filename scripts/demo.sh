#!/usr/bin/env bash
# The main job: builds the example product's setup with tarnell-pack, runs
# the real setup under Wine on a virtual display, presses "Install" as a
# person would, waits for "The installation was successful", saves a
# screenshot, closes the setup and shows what landed where.
#
# It runs the i686 setup, or the x86_64 one where this host runs no 32-bit
# programs (scripts/wine-host.sh). Every wait ends with its reason: when the
# window or the message does not come, the setup log and a screenshot are
# shown and the demo exits non-zero.
#
# Environment: WINDOWS_BUILD (default build/i686 or build/x86_64, that
# preset, built here), TOOLS_BUILD (default build/tools, the tools preset,
# built here), DEMO (default build/demo: the setup with tarnell-deploy.exe
# beside it, the screenshot, the Wine prefix).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# shellcheck source=scripts/wine-host.sh
source scripts/wine-host.sh
arch=i686 view=/reg:32
if ! wine_runs i686; then
  arch=x86_64 view=/reg:64
  echo "The demo builds and runs the 64-bit setup: $TARNELL_I686_NOT_RUN."
fi
windows_build=${WINDOWS_BUILD:-build/$arch}
tools_build=${TOOLS_BUILD:-build/tools}
demo=$PWD/${DEMO:-build/demo}

echo "Building the package builder and the $arch setup program"
if [ "$tools_build" = build/tools ]; then
  cmake --preset tools >/dev/null
  cmake --build --preset tools -j2 --target tarnell-pack setup-layout >/dev/null
fi
if [ "$windows_build" = "build/$arch" ]; then
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" -j2 --target tarnell-setup tarnell-deploy hello_programs >/dev/null
fi

mkdir -p "$demo"
setup=$demo/Hello_Setup.exe
examples/hello/pack.sh "$tools_build/tools/tarnell-pack/tarnell-pack" "$windows_build" "$setup"
# The administrators' tool goes beside the setup it deploys.
cp "$windows_build/src/app/driver/tarnell-deploy.exe" "$demo/"

# A private Wine prefix; the display is Xvfb's unless one is running there.
source scripts/wine-env.sh "$demo"
source tests/support/layout-lib.sh
echo "Making a fresh Wine prefix on display $DISPLAY"
wine_env_start || { echo "The demo needs a Wine prefix and a display; see the line above." >&2; exit 1; }
trap wine_env_stop EXIT
temp=$(winepath -u "$(wine cmd /c echo %TEMP% </dev/null 2>/dev/null | tr -d '\r')" 2>/dev/null)
setup_log=$temp/Hello_Setup.log

# give_up WHY: shows the setup log and the screen, and ends the demo.
give_up() {
  local screen=$demo/failure.png
  echo "The demo failed: $1" >&2
  import -window root "$screen" 2>/dev/null && echo "The screen at that moment: $screen" >&2
  if [ -f "$setup_log" ]; then
    printf '\n== The setup log (%s)\n' "$setup_log" >&2
    cat "$setup_log" >&2
  else
    echo "The setup wrote no log ($setup_log)." >&2
  fi
  exit 1
}
# wait_for_window TITLE SECONDS: prints the window's id once it is visible;
# gives up as soon as the setup has ended, or when the time is over.
wait_for_window() {
  local title=$1 deadline=$((SECONDS + $2)) window
  while [ $SECONDS -lt $deadline ]; do
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && { echo "$window"; return; }
    kill -0 "$setup_pid" 2>/dev/null || give_up "the setup ended before its window \"$title\" appeared"
    sleep 0.2
  done
  give_up "no window \"$title\" within $2 seconds"
}

echo "Running $setup under Wine"
wine "$setup" </dev/null >/dev/null 2>&1 &
setup_pid=$!
window=$(wait_for_window "Hello Setup" 60)
eval "$(xdotool getwindowgeometry --shell "$window")"
setup_layout="$tools_build/tools/setup-layout/setup-layout"
# The example has two file types and data files.
read -r install_x install_y < <(layout_point "$setup_layout" $((X + layout_frame)) $((Y + layout_frame)) install \
  --associations 2)
echo "Pressing \"Install\""
xdotool mousemove "$install_x" "$install_y" click 1
message=$(wait_for_window Message 120)
sleep 1
screenshot=$demo/hello-installed.png
import -window root -crop "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))" +repage "$screenshot"
echo "Screenshot of the setup with its message: $screenshot"
eval "$(xdotool getwindowgeometry --shell "$message")"
read -r ok_x ok_y < <(dialog_layout_point "$setup_layout" message-box ok "$X" "$Y" "$WIDTH" "$HEIGHT")
xdotool mousemove "$ok_x" "$ok_y" click 1
sleep 0.5
xdotool key alt+F4
for _ in $(seq 50); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$setup_pid" 2>/dev/null && give_up "the setup did not end after Alt+F4"

wine reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Hello' $view </dev/null >/dev/null 2>&1 ||
  give_up "the product is not registered after \"Install\""
printf '\n== The setup log\n'
cat "$setup_log"
examples/hello/show-landed.sh $view
