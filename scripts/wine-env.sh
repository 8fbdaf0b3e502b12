# Sourced by the test and demo scripts: one private Wine prefix and one
# virtual display under the build folder, never the user's own ~/.wine.
#   source scripts/wine-env.sh [BUILD_DIR]
#   wine_env_start      # fresh prefix, Xvfb, persistent wineserver
#   wine_env_stop       # ends every Wine process and the display

TARNELL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TARNELL_BUILD=${1:-$TARNELL_ROOT/build}
export WINEPREFIX=$TARNELL_BUILD/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export TARNELL_DISPLAY_NUMBER=${TARNELL_DISPLAY_NUMBER:-91}
export DISPLAY=:$TARNELL_DISPLAY_NUMBER

wine_env_start() {
  mkdir -p "$TARNELL_BUILD"
  wineserver -k >/dev/null 2>&1 || true
  if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! >"$TARNELL_BUILD/xvfb.pid"
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
  fi

  # A fresh prefix for every run: tests see a clean machine.
  rm -rf "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  # The user's folders must not lead into the real home folder.
  local user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
  for d in Desktop Documents Downloads Music Pictures Videos; do
    if [ -L "$user_dir/$d" ]; then rm "$user_dir/$d" && mkdir "$user_dir/$d"; fi
  done
  wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /d -1 /f </dev/null >/dev/null 2>&1

  # A persistent server with its output detached, so readers of a Wine
  # program's output do not wait for the server to end.
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -f "$TARNELL_BUILD/xvfb.pid" ]; then
    kill "$(cat "$TARNELL_BUILD/xvfb.pid")" 2>/dev/null || true
    rm -f "$TARNELL_BUILD/xvfb.pid"
  fi
}
