#!/usr/bin/env bash
# The main job: builds the example product's setup with tarnell-pack, runs
# the real setup under Wine on a virtual display, presses "Install" as a
# person would, waits for "The installation was successful", saves a
# screenshot, closes the setup and shows what landed where.
#
# Environment: WINDOWS_BUILD (default build/i686, the i686 preset, built
# here), TOOLS_BUILD (default build/tools, the tools preset, built here),
# DEMO (default build/demo: the setup, the screenshot, the Wine prefix).
set -euo pipefail
cd "$(dirname "$0")/.."
windows_build=${WINDOWS_BUILD:-build/i686}
tools_build=${TOOLS_BUILD:-build/tools}
demo=$PWD/${DEMO:-build/demo}

scripts/install-deps.sh
echo "Building the package builder and the setup program"
if [ "$tools_build" = build/tools ]; then
  cmake --preset tools >/dev/null
  cmake --build --preset tools -j2 --target tarnell-pack >/dev/null
fi
if [ "$windows_build" = build/i686 ]; then
  cmake --preset i686 >/dev/null
  cmake --build --preset i686 -j2 --target tarnell-setup hello_programs >/dev/null
fi

mkdir -p "$demo"
setup=$demo/Hello_Setup.exe
examples/hello/pack.sh "$tools_build/tools/tarnell-pack/tarnell-pack" "$windows_build" "$setup"

# A private Wine prefix; the display is Xvfb's unless one is running there.
source scripts/wine-env.sh "$demo"
echo "Making a fresh Wine prefix on display $DISPLAY"
set +e  # the environment's own steps may fail harmlessly
wine_env_start
set -e
trap wine_env_stop EXIT

echo "Running $setup under Wine"
wine "$setup" </dev/null >/dev/null 2>&1 &
setup_pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Hello Setup$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
# The install button lies at (292, 408) in the window's client area, which
# starts 2 pixels inside the frame; 88 x 24 pixels.
echo "Pressing \"Install\""
xdotool mousemove $((X + 2 + 336)) $((Y + 2 + 420)) click 1
message=$(timeout 120 xdotool search --sync --onlyvisible --name '^Message$' | head -1)
sleep 1
screenshot=$demo/hello-installed.png
import -window root -crop "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))" +repage "$screenshot"
echo "Screenshot of the setup with its message: $screenshot"
eval "$(xdotool getwindowgeometry --shell "$message")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 22)) click 1  # "OK"
sleep 0.5
xdotool key alt+F4
wait "$setup_pid" || true

printf '\n== The setup log\n'
cat "$(winepath -u "$(wine cmd /c echo %TEMP% </dev/null 2>/dev/null | tr -d '\r')")/Hello_Setup.log"
examples/hello/show-landed.sh /reg:32
