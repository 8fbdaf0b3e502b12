# shellcheck shell=bash
# Sourced by the test, demo and benchmark scripts: one private Wine prefix
# and one virtual display under the build folder, never the user's own
# ~/.wine, with the Wine commands that this host runs (scripts/wine-host.sh).
#   source scripts/wine-env.sh [BUILD_DIR]
#   wine_env_start      # fresh prefix, Xvfb, persistent wineserver
#   wine_env_stop       # ends every Wine process and the display

TARNELL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/wine-host.sh
source "$TARNELL_ROOT/scripts/wine-host.sh" || return 2 2>/dev/null || exit 2
TARNELL_BUILD=${1:-$TARNELL_ROOT/build}
export WINEPREFIX=$TARNELL_BUILD/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export TARNELL_DISPLAY_NUMBER=${TARNELL_DISPLAY_NUMBER:-91}
export DISPLAY=:$TARNELL_DISPLAY_NUMBER

# wine_env_start: says what failed and returns non-zero when the display or
# the prefix cannot be made.
wine_env_start() {
  mkdir -p "$TARNELL_BUILD"
  wineserver -k >/dev/null 2>&1 || true
  if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! >"$TARNELL_BUILD/xvfb.pid"
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
      echo "wine-env.sh: the virtual display $DISPLAY did not start (is another X server using it?" \
        "Set TARNELL_DISPLAY_NUMBER to a free number)" >&2
      return 1
    fi
  fi

  # A fresh prefix for every run: tests see a clean machine.
  rm -rf "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
  if [ ! -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
    echo "wine-env.sh: Wine could not make its prefix at $WINEPREFIX" \
      "(loader: $(command -v wine); Wine runs here: $TARNELL_WINE_ARCHS)" >&2
    return 1
  fi
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  # The user's folders must not lead into the real home folder.
  local user_dir
  user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
  for d in Desktop Documents Downloads Music Pictures Videos; do
    if [ -L "$user_dir/$d" ]; then rm "$user_dir/$d" && mkdir "$user_dir/$d"; fi
  done
  wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /d -1 /f </dev/null >/dev/null 2>&1

  # A persistent server with its output detached, so readers of a Wine
  # program's output do not wait for the server to end. The server the
  # commands above started ends with its last client (Debian's wrapper
  # passes -p0): wait for it, or `wineserver -p` finds it still running and
  # quietly starts nothing. Without a persistent server each test starts a
  # server of its own, and one that connects while the previous server is
  # shutting down is dropped before its main ("recvmsg: Connection reset by
  # peer", no other output).
  wineserver -w
  if ! wineserver -p </dev/null >/dev/null 2>&1; then
    echo "wine-env.sh: the persistent Wine server for $WINEPREFIX did not start" >&2
    return 1
  fi
  wine wineboot </dev/null >/dev/null 2>&1
  return 0
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -f "$TARNELL_BUILD/xvfb.pid" ]; then
    kill "$(cat "$TARNELL_BUILD/xvfb.pid")" 2>/dev/null || true
    rm -f "$TARNELL_BUILD/xvfb.pid"
  fi
}
