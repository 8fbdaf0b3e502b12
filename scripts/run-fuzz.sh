#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time, seeded with its corpus and
# with the inputs kept in its fuzz-regressions/ folder.
#   scripts/run-fuzz.sh TARGET BUILD_DIR [SECONDS]    (default 20 s)
# TARGET is inflate, png, package or skin; BUILD_DIR a build configured with
# clang and -DTARNELL_FUZZ=ON (the fuzz preset's build/fuzz). A longer run:
#   scripts/run-fuzz.sh png build/fuzz 600
# A failing input is written to BUILD_DIR/TARGET-fuzz-crash-*; once fixed,
# keep it in tests/<folder>/fuzz-regressions/ so every later run replays it.
set -euo pipefail
target=${1:?usage: run-fuzz.sh TARGET BUILD_DIR [SECONDS]}
build=${2:?usage: run-fuzz.sh TARGET BUILD_DIR [SECONDS]}
seconds=${3:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
testdata=$root/tests/data

# Per target: its folder, its executable, its seeds and its input limits.
case $target in
  inflate) folder=inflate; fuzzer=inflate_fuzz; seeds=("$testdata"/deflate/streams/*.deflate)
           options=(-max_len=32768 -rss_limit_mb=2048) ;;
  png)     folder=png; fuzzer=png_fuzz; seeds=("$testdata"/pngsuite/*.png)
           # Pictures up to 8192 x 8192 are legal, so allow their 256 MiB block.
           options=(-max_len=65536 -rss_limit_mb=2048 -malloc_limit_mb=600) ;;
  package) folder=package; fuzzer=package_fuzz; seeds=("$root"/tests/package/fuzz-seeds/*)
           options=(-max_len=40000 -rss_limit_mb=1024) ;;
  skin)    folder=skin; fuzzer=skin_directory_fuzz; seeds=()
           options=(-max_len=16384 -rss_limit_mb=1024) ;;
  *) echo "run-fuzz.sh: unknown target $target (inflate, png, package, skin)" >&2; exit 2 ;;
esac

executable="$build/tests/$folder/$fuzzer"
if [ ! -x "$executable" ]; then
  # Fuzzing needs clang; a build without it has no fuzzer to run.
  echo "run-fuzz.sh: SKIPPED: $executable was not built (configure with clang and -DTARNELL_FUZZ=ON)" >&2
  exit 0
fi

corpus=$(mktemp -d "${TMPDIR:-/tmp}/$target-fuzz.XXXXXX")
trap 'rm -rf "$corpus"' EXIT
[ ${#seeds[@]} -eq 0 ] || cp "${seeds[@]}" "$corpus/"
regressions="$root/tests/$folder/fuzz-regressions"
[ -d "$regressions" ] && cp "$regressions"/* "$corpus/" 2>/dev/null || true

# Longer inputs are cut, which makes them truncated inputs: useful too.
"$executable" "$corpus" -max_total_time="$seconds" "${options[@]}" \
  -artifact_prefix="$build/$target-fuzz-" -print_final_stats=1
