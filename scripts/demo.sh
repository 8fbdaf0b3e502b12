#!/usr/bin/env bash
# The main job: builds the setup program and runs it under Wine, then shows
# where its log went and what it says.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset i686 >/dev/null
cmake --build --preset i686 -j2 --target tarnell-setup >/dev/null

source scripts/wine-env.sh "$PWD/build/demo"
wine_env_start
trap wine_env_stop EXIT

setup="build/i686/src/app/tarnell-setup.exe"
echo "Running $setup under Wine"
set +e
wine "$setup" </dev/null >/dev/null 2>&1
code=$?
set -e
echo "Exit code: $code"

temp_unix=$(winepath -u "$(wine cmd /c echo %TEMP% </dev/null 2>/dev/null | tr -d '\r')" 2>/dev/null)
log="$temp_unix/tarnell-setup.log"
echo "Log file: $log"
cat "$log"
