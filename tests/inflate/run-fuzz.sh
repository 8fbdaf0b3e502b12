#!/usr/bin/env bash
# Fuzzes the DEFLATE decoder against the reference decoder for a bounded
# time, seeded with the shared DEFLATE corpus and the inputs kept in
# fuzz-regressions/.
#   tests/inflate/run-fuzz.sh BUILD_DIR [SECONDS]    (default 20 s)
# BUILD_DIR is a build configured with -DTARNELL_FUZZ=ON (clang). A failing
# input is written to BUILD_DIR/inflate-fuzz-crash-*; keep it in
# fuzz-regressions/ once fixed.
set -euo pipefail
build=${1:?usage: run-fuzz.sh BUILD_DIR [SECONDS]}
seconds=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
fuzzer="$build/tests/inflate/inflate_fuzz"
if [ ! -x "$fuzzer" ]; then
  # Fuzzing needs clang; a build without it has no fuzzer to run.
  echo "run-fuzz.sh: SKIPPED: $fuzzer was not built (configure with clang and -DTARNELL_FUZZ=ON)" >&2
  exit 0
fi

corpus=$(mktemp -d "${TMPDIR:-/tmp}/inflate-fuzz.XXXXXX")
trap 'rm -rf "$corpus"' EXIT
cp "$here/../../../shared/testdata/deflate/streams/"*.deflate "$corpus/"
[ -d "$here/fuzz-regressions" ] && cp "$here/fuzz-regressions/"* "$corpus/" 2>/dev/null || true

# Longer inputs are cut, which makes them cut-off streams: useful too.
"$fuzzer" "$corpus" -max_total_time="$seconds" -max_len=32768 -rss_limit_mb=2048 \
  -artifact_prefix="$build/inflate-fuzz-" -print_final_stats=1
