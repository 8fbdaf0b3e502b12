# shellcheck shell=bash
# What the benchmarks run under Wine against NSIS share, sourced from the
# checkout's root: the builds they take their programs from
# (WINDOWS_BUILD, default build/i686, or build/x86_64 where Wine runs
# no 32-bit programs; TARNELL_PACK, default the tools
# preset's tarnell-pack) and NSIS's makensis, their peer.
root=$PWD
# shellcheck source=scripts/wine-host.sh
source scripts/wine-host.sh
source tests/support/manifest-lib.sh
# The i686 build, or the x86_64 one where Wine runs no 32-bit programs.
default_arch=i686
wine_runs i686 || default_arch=x86_64
windows_build=${WINDOWS_BUILD:-build/$default_arch}
pack=${TARNELL_PACK:-build/tools/tools/tarnell-pack/tarnell-pack}

command -v makensis >/dev/null || { echo "makensis is missing (apt-get install nsis)" >&2; exit 1; }

# build_programs TARGET...: builds the targets in the default Windows build,
# and the package builder when it is the default one; other builds are
# taken as they are.
build_programs() {
  if [ "$windows_build" = "build/$default_arch" ]; then
    cmake --preset "$default_arch" >/dev/null && cmake --build --preset "$default_arch" -j2 --target "$@" >/dev/null
  fi
  if [ "$pack" = build/tools/tools/tarnell-pack/tarnell-pack ]; then
    cmake --preset tools >/dev/null && cmake --build --preset tools -j2 --target tarnell-pack >/dev/null
  fi
}

# Where Wine keeps its paths (unix_path, prefix_unix_path and the others).
source "$root/tests/support/wine-paths.sh"

# median: the middle one of the numbers on standard input, one a line.
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
# ratio A B: A / B to two decimals.
ratio() { echo "scale=3; $1 / $2" | bc | awk '{ printf "%.2f", $1 }'; }

# seconds COMMAND...: the wall time of one run; a failed run ends the script.
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" </dev/null >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

# peak_private_bytes DEPLOY SETUP FOLDER: our setup's peak private bytes for
# an install of SETUP into FOLDER (tarnell-deploy-testing --memory), which is
# uninstalled again.
peak_private_bytes() {
  local peak
  peak=$(wine "$1" install "$(windows_path "$2")" --program-folder "$3" --memory </dev/null |
    tr -d '\r' | sed -n 's/^Peak private bytes: //p')
  wine "$1" uninstall "$(windows_path "$2")" </dev/null >/dev/null 2>&1
  [ -n "$peak" ] || { echo "no peak private bytes from the install of $2" >&2; exit 1; }
  echo "$peak"
}

# start_bench_wine: starts the private prefix and display that the caller's
# `source scripts/wine-env.sh` set up, and stops them when the script ends.
start_bench_wine() {
  set +e  # the environment's own steps may fail harmlessly
  wine_env_start
  set -e
  trap wine_env_stop EXIT
}
