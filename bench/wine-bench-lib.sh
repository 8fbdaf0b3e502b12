# What the benchmarks run under Wine against NSIS share, sourced from the
# checkout's root: the builds they take their programs from
# (WINDOWS_BUILD, default build/i686; TARNELL_PACK, default the tools
# preset's tarnell-pack) and NSIS's makensis, their peer.
root=$PWD
windows_build=${WINDOWS_BUILD:-build/i686}
pack=${TARNELL_PACK:-build/tools/tools/tarnell-pack/tarnell-pack}

command -v makensis >/dev/null || { echo "makensis is missing (apt-get install nsis)" >&2; exit 1; }

# build_programs TARGET...: builds the targets in the default Windows build,
# and the package builder when it is the default one; other builds are
# taken as they are.
build_programs() {
  if [ "$windows_build" = build/i686 ]; then
    cmake --preset i686 >/dev/null && cmake --build --preset i686 -j2 --target "$@" >/dev/null
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

# start_bench_wine: starts the private prefix and display that the caller's
# `source scripts/wine-env.sh` set up, and stops them when the script ends.
start_bench_wine() {
  set +e  # the environment's own steps may fail harmlessly
  wine_env_start
  set -e
  trap wine_env_stop EXIT
}
