#!/usr/bin/env bash
# Fuzzes the PNG decoder for a bounded time, seeded with PngSuite and the
# inputs kept in fuzz-regressions/.
#   tests/png/run-fuzz.sh BUILD_DIR [SECONDS]    (default 20 s)
# BUILD_DIR is a build configured with -DTARNELL_FUZZ=ON (clang). A crashing
# input is written to BUILD_DIR/png-fuzz-crash-*; keep it in
# fuzz-regressions/ once fixed.
set -euo pipefail
build=${1:?usage: run-fuzz.sh BUILD_DIR [SECONDS]}
seconds=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
fuzzer="$build/tests/png/png_fuzz"
if [ ! -x "$fuzzer" ]; then
  # Fuzzing needs clang; a build without it has no fuzzer to run.
  echo "run-fuzz.sh: SKIPPED: $fuzzer was not built (configure with clang and -DTARNELL_FUZZ=ON)" >&2
  exit 0
fi

corpus=$(mktemp -d "${TMPDIR:-/tmp}/png-fuzz.XXXXXX")
trap 'rm -rf "$corpus"' EXIT
cp "$here/../../../shared/testdata/pngsuite/"*.png "$corpus/"
[ -d "$here/fuzz-regressions" ] && cp "$here/fuzz-regressions/"* "$corpus/" 2>/dev/null || true

# Pictures of up to 8192 x 8192 are legal, so allow their 256 MiB block.
"$fuzzer" "$corpus" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -malloc_limit_mb=600 \
  -artifact_prefix="$build/png-fuzz-" -print_final_stats=1
