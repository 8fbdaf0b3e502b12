#!/usr/bin/env bash
# Fuzzes the package reader (a whole setup file: PE headers, trailer,
# directory) for a bounded time, seeded with small setups made here.
#   tests/package/run-fuzz.sh BUILD_DIR [SECONDS]    (default 20 s)
# BUILD_DIR is a build configured with -DTARNELL_FUZZ=ON (clang), e.g. the
# fuzz preset's build/fuzz. A longer run: tests/package/run-fuzz.sh build/fuzz 600
# A crashing input is written to BUILD_DIR/package-fuzz-crash-*; keep it in
# tests/package/fuzz-regressions/ once fixed.
set -euo pipefail
build=${1:?usage: run-fuzz.sh BUILD_DIR [SECONDS]}
seconds=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
fuzzer="$build/tests/package/package_fuzz"
if [ ! -x "$fuzzer" ]; then
  echo "run-fuzz.sh: $fuzzer is missing; configure the build with -DTARNELL_FUZZ=ON" >&2
  exit 1
fi

corpus=$(mktemp -d "${TMPDIR:-/tmp}/package-fuzz.XXXXXX")
trap 'rm -rf "$corpus"' EXIT
[ -d "$here/fuzz-seeds" ] && cp "$here/fuzz-seeds/"* "$corpus/"
[ -d "$here/fuzz-regressions" ] && cp "$here/fuzz-regressions/"* "$corpus/" 2>/dev/null || true

"$fuzzer" "$corpus" -max_total_time="$seconds" -max_len=40000 -rss_limit_mb=1024 \
  -artifact_prefix="$build/package-fuzz-" -print_final_stats=1
