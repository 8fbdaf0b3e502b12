#!/usr/bin/env bash
# The log-view benchmark, run by hand (not part of the tests):
#
#   bench/logview/run.sh
#
# Builds logview_bench.exe with the MinGW compiler against the libraries of
# a Windows build (the benchmarks' CMake folder is native-only), packs the
# default skin if needed, and runs it under Wine on a private display. It
# prints lines per second with only the changed rows repainted, with the
# whole view repainted after every line (the peer), and without painting.
#
# Environment: WINDOWS_BUILD (default build/i686, built with the i686
# preset), NATIVE_BUILD (default build/native: packs the gallery skin),
# LINES (default 100000), TARNELL_DISPLAY_NUMBER.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
windows_build=${WINDOWS_BUILD:-build/i686}
native_build=${NATIVE_BUILD:-build/native}
out=$root/$windows_build/bench-logview
mkdir -p "$out"

cmake --build "$windows_build" -j2 --target tarnell_win >/dev/null
cmake --build "$native_build" -j2 --target gallery-skin >/dev/null
skin=$root/$native_build/tests/gallery/gallery-skin.bin

i686-w64-mingw32-g++-posix -std=c++17 -Os -DNDEBUG -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601 \
  -I src -I tests/graphics bench/logview/logview_bench.cpp -o "$out/logview_bench.exe" \
  "$windows_build/src/libtarnell_win.a" "$windows_build/src/libtarnell_core.a" \
  -static -static-libgcc -static-libstdc++ -mconsole -lgdi32 -luser32 -lkernel32 -lole32 -luuid -ladvapi32 -lshell32

source scripts/wine-env.sh "$out"
if [ ! -d "$WINEPREFIX" ]; then wine_env_start; fi
wine "$out/logview_bench.exe" "Z:${skin//\//\\}" "${LINES:-100000}"
