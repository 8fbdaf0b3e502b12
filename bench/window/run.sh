#!/usr/bin/env bash
# Window benchmark, run by hand (not part of the tests):
#
#   bench/window/run.sh
#
# Packs the example product's files into a Tarnell setup (tarnell-pack) and
# into an NSIS installer with a window (Debian's makensis, zlib), and in one
# fresh Wine prefix on a virtual display measures, side by side:
#   - the time from starting each under Wine to its window being mapped
#     (xdotool's search for the visible window, polled every 10 ms), the
#     median of RUNS runs (default 7) after one warm-up run each;
#   - the size of our setup stub, the executable image plus the default skin
#     archive without payload (i686, stripped), against NSIS's installer of
#     an empty section (zlib).
#
# Environment: WINDOWS_BUILD (default build/i686, or build/x86_64 where
# Wine runs no 32-bit programs, built here: tarnell-setup
# and the example's programs), TARNELL_PACK (default
# build/tools/tools/tarnell-pack/tarnell-pack, built by the tools preset),
# WORK (default build/bench-window), RUNS, TARNELL_DISPLAY_NUMBER.
set -euo pipefail
cd "$(dirname "$0")/../.."
source bench/wine-bench-lib.sh
work=$root/${WORK:-build/bench-window}
runs=${RUNS:-7}
build_programs tarnell-setup hello_programs
stub=$root/$windows_build/src/app/tarnell-setup.exe
mkdir -p "$work/payload"

# The same five files for both: the example product's programs, its read-me
# and its data files.
cp "$root/$windows_build/examples/hello/Hello.exe" "$root/$windows_build/examples/hello/HelloAgent.exe" \
  "$root/examples/hello/files/"* "$work/payload/"
files=$(cd "$work/payload" && ls)
{
  printf '[product]\nname = "BenchWindow"\nversion = "1.0"\n'
  for file in $files; do printf '\n[[file]]\nsource = "payload/%s"\n' "$file"; done
} >"$work/ours.toml"
match_architecture "$work/ours.toml" "$stub"
"$root/$pack" build "$work/ours.toml" -o "$work/ours.exe" --stub "$stub" >/dev/null
{
  printf 'Name "BenchWindow"\nOutFile "nsis.exe"\nSetCompressor zlib\nRequestExecutionLevel admin\n'
  printf 'InstallDir "C:\\bench\\nsis"\nPage directory\nPage instfiles\nSection\n  SetOutPath "$INSTDIR"\n'
  for file in $files; do printf '  File "payload/%s"\n' "$file"; done
  printf 'SectionEnd\n'
} >"$work/nsis.nsi"
printf 'Name "Empty"\nOutFile "nsis-empty.exe"\nSetCompressor zlib\nSection\nSectionEnd\n' >"$work/nsis-empty.nsi"
(cd "$work" && makensis -V1 nsis.nsi >/dev/null && makensis -V1 nsis-empty.nsi >/dev/null)

# The stub: the program and the skin archive, which the package's first
# record places right behind it.
skin_size=$("$root/$pack" list "$work/ours.exe" | sed -n 's/^Skin archive: \([0-9]*\) bytes.*/\1/p')
stub_size=$(($(stat -c %s "$stub") + skin_size))
nsis_size=$(stat -c %s "$work/nsis-empty.exe")

export TARNELL_DISPLAY_NUMBER=${TARNELL_DISPLAY_NUMBER:-173}
# shellcheck source=/dev/null
source scripts/wine-env.sh "$work"
start_bench_wine

# mapped EXE: seconds from the start to the visible "BenchWindow Setup";
# then the installer is closed (ours with Alt+F4, NSIS by ending it).
mapped() {
  local start end pid window="" give_up=$((SECONDS + 60))
  start=$(date +%s.%N)
  wine "$1" </dev/null >/dev/null 2>&1 &
  pid=$!
  while [ -z "$window" ]; do
    window=$(xdotool search --onlyvisible --name '^BenchWindow Setup' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || { echo "$1 ended without showing its window" >&2; exit 1; }
    [ $SECONDS -lt "$give_up" ] || { echo "no window of $1 within 60 s" >&2; exit 1; }
    sleep 0.01
  done
  end=$(date +%s.%N)
  echo "$end - $start" | bc | awk '{ printf "%.3f\n", $1 }'
  if [ "$1" = "$work/ours.exe" ]; then
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 250)) $((Y + 50)) key alt+F4
  else
    kill "$pid"
  fi
  wait "$pid" 2>/dev/null || true
  for _ in $(seq 200); do
    xdotool search --onlyvisible --name '^BenchWindow Setup' >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  echo "the window of $1 did not close within 10 s" >&2
  exit 1
}

mapped "$work/ours.exe" >/dev/null
mapped "$work/nsis.exe" >/dev/null
: >"$work/ours.times" && : >"$work/nsis.times"
for _ in $(seq "$runs"); do
  mapped "$work/ours.exe" >>"$work/ours.times"
  mapped "$work/nsis.exe" >>"$work/nsis.times"
done
ours=$(median <"$work/ours.times")
nsis=$(median <"$work/nsis.times")

printf '\nWindow benchmark, medians of %s runs, wall seconds (payload: %s files)\n\n' "$runs" "$(echo "$files" | wc -w)"
printf '%-36s %10s %10s %10s\n' "" ours NSIS ours/NSIS
printf '%-36s %10s %10s %10s\n' "start to window mapped (s)" "$ours" "$nsis" "$(ratio "$ours" "$nsis")"
printf '%-36s %10s %10s %10s\n' "stub: program + skin, no payload (B)" "$stub_size" "$nsis_size" \
  "$(ratio "$stub_size" "$nsis_size")"
printf '\nTargets: start to window ours/NSIS <= 1.0; stub ours/NSIS <= 3.\n'
