#!/usr/bin/env bash
# The log-view benchmark, run by hand (not part of the tests):
#
#   bench/logview/run.sh
#
# Builds logview_bench.exe in a Windows build, packs the gallery's skin if
# needed, and runs it under Wine on a private display. It
# prints lines per second with only the changed rows repainted, with the
# whole view repainted after every line (the peer), and without painting.
#
# Environment: WINDOWS_BUILD (default build/i686, or build/x86_64 where
# Wine runs no 32-bit programs), NATIVE_BUILD (default build/native: packs the gallery skin),
# LINES (default 100000), TARNELL_DISPLAY_NUMBER.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
# shellcheck source=scripts/wine-host.sh
source scripts/wine-host.sh
arch=i686
wine_runs i686 || arch=x86_64
windows_build=${WINDOWS_BUILD:-build/$arch}
native_build=${NATIVE_BUILD:-build/native}
out=$root/$windows_build/bench-logview
mkdir -p "$out"

cmake --build "$windows_build" -j2 --target logview_bench >/dev/null
cmake --build "$native_build" -j2 --target gallery-skin >/dev/null
skin=$root/$native_build/tests/gallery/gallery-skin.bin

source scripts/wine-env.sh "$out"
if [ ! -d "$WINEPREFIX" ]; then wine_env_start; fi
wine "$root/$windows_build/bench/logview/logview_bench.exe" "Z:${skin//\//\\}" "${LINES:-100000}"
