#!/usr/bin/env bash
# A user leaves a fake oleacc.dll beside a downloaded setup. Windows takes a
# DLL that is no KnownDLL from the program's own folder first; Wine does the
# same when told "oleacc=n,b". The setup, run as administrator, must never
# load it: not at start, and not when a screen reader reads its window, which
# it then does through the system's oleacc.
#
#   run-planted-dll-test.sh SETUP_STUB TARNELL_PACK PLANTED_OLEACC_DLL ACCESSIBLE_WALK_EXE OUTPUT_DIR
#
# The fake DLL writes the file named by TARNELL_PLANTED_MARKER when loaded.
# Needs the environment of scripts/wine-env.sh with wine_env_start run;
# without a display it skips (exit 77).
set -u

stub=$1
pack=$2
planted=$3
walker=$4
out=$5
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
reference=""

source "$root/tests/support/setup-window-lib.sh"
[ -x "$pack" ] || skip "no tarnell-pack at $pack; build the native preset first"
product=Planted
title="$product Setup"

# The download folder: the setup and the fake DLL beside it.
download=$out/download
rm -rf "$download" "$out/marker"
mkdir -p "$download"
echo "read me" >"$download/Readme.txt"
printf '[product]\nname = "%s"\nversion = "1.0"\n\n[[file]]\nsource = "Readme.txt"\n' "$product" >"$download/m.toml"
pack_setup "$download/m.toml" "$download/${product}_Setup.exe"
rm "$download/m.toml" "$download/Readme.txt"
cp "$planted" "$download/oleacc.dll"
marker=$out/marker
export TARNELL_PLANTED_MARKER
TARNELL_PLANTED_MARKER=$(windows_path "$marker")
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}oleacc=n,b"

# The plant works: a program that imports oleacc, started from that folder, loads it.
cp "$walker" "$download/reader.exe"
wine "$download/reader.exe" children "no such window" </dev/null >/dev/null 2>&1
rm "$download/reader.exe"
[ -f "$marker" ] || skip "Wine did not prefer the DLL beside the program; nothing to show"
pass "a program importing oleacc loads the one beside it"
rm -f "$marker"

# The setup, read by a screen reader from its own folder (its oleacc is the system's).
wine "$download/${product}_Setup.exe" </dev/null >/dev/null 2>&1 &
setup_pid=$!
trap 'kill "$setup_pid" 2>/dev/null' EXIT
window_of "$title" 60 >/dev/null || { echo "FAIL: the window \"$title\" did not appear"; exit 1; }
walk() { wine "$walker" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
check "a reader reads the setup window" test -n "$(walk tree "$title" | awk -F'|' '$2 == "pushbutton" && $3 == "Install"')"
check "the setup never loaded the DLL beside it" test ! -e "$marker"
walk press "$title" pushbutton Close >/dev/null
for i in $(seq 100); do
  kill -0 "$setup_pid" 2>/dev/null || break
  sleep 0.1
done
check "\"Close\" ends the setup" not kill -0 "$setup_pid" 2>/dev/null
check "nor did it before it ended" test ! -e "$marker"

if [ $failures -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
