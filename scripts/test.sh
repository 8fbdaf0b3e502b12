#!/usr/bin/env bash
# Runs every test: the formatting and the includes of the C++ files, the
# shell scripts through shellcheck, the Windows builds (32- and 64-bit) under
# Wine on a virtual display, the native build under AddressSanitizer and
# UndefinedBehaviorSanitizer, and each fuzzer for a short while.
#
# Where this host runs no 32-bit programs (or TARNELL_WINE_ARCHS=x86_64), the
# i686 build is still built and its image checked, but none of its tests run
# under Wine; the summary says so.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

scripts/install-deps.sh || exit 1
# shellcheck source=scripts/wine-host.sh
source scripts/wine-host.sh || exit 1

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
fuzz_seconds=${TARNELL_FUZZ_SECONDS:-15}

status=0
note_failure() { echo "FAILED: $*" >&2; [ $status -ne 0 ] || status=1; }

echo "== format"
scripts/check-format.sh || note_failure "format"
echo "== includes"
scripts/check-includes.sh || note_failure "includes that walk around the layers"
echo "== shell scripts"
mapfile -t shell_scripts < <(git ls-files '*.sh' 'scripts/wine64-only/*')
shellcheck -x -S warning "${shell_scripts[@]}" && echo "shellcheck finds nothing in ${#shell_scripts[@]} scripts." \
  || note_failure "shellcheck"

build() {
  local preset=$1 log
  log=$(mktemp)
  cmake --preset "$preset" -DTARNELL_WERROR=$werror >"$log" 2>&1 \
    && cmake --build --preset "$preset" -j2 >>"$log" 2>&1 \
    || { cat "$log"; note_failure "build $preset"; }
  rm -f "$log"
}
for preset in i686 x86_64 native; do build $preset; done
if command -v clang++ >/dev/null; then build fuzz; fi

source scripts/wine-env.sh "$PWD/build"
trap wine_env_stop EXIT
wine_env_start || note_failure "the Wine environment could not be made"

# A prefix without working 32-bit support runs 32-bit programs silently as
# no-ops: make sure each kind really runs before trusting any result.
windows_presets=()
for arch in i686 x86_64; do
  wine_runs $arch || continue
  out=$(wine "build/$arch/tests/probe/probe.exe" </dev/null 2>/dev/null | tr -d '\r')
  if [ "$out" = "probe $arch" ]; then
    windows_presets+=("$arch")
  else
    note_failure "Wine does not run $arch programs here (the probe printed '$out')"
  fi
done

# Per suite, "passed failed skipped" of its last ctest run, for the summary.
declare -A counts
# The tests that ctest's log lists as failed, one a line.
failed_tests() { sed -nE 's/^[[:space:]]*[0-9]+ - (.*) \((Failed|Timeout|SEGFAULT|Exception|Subprocess aborted|Not Run)\).*/\1/p' "$1"; }
# How many tests ctest's log lists as skipped (ctest counts them as passed).
skipped_tests() { grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)' "$1"; }
# What ctest printed for TEST in LOG: the output that follows its result line.
test_output() {
  awk -v test="$2" '
    /^ *Start +[0-9]+: / || /^[0-9]+\/[0-9]+ Test +#/ || /^[0-9]+% tests passed/ { printing = 0 }
    printing { print "    " $0 }
    /^[0-9]+\/[0-9]+ Test +#[0-9]+: / && index($0, ": " test " ") { printing = 1 }
  ' "$1"
}
# The RERUN lines of this run, repeated under the summary.
reruns=""
# run_ctest NAME ARGS...: runs the tests once and, for the Windows suites, the
# failed ones once more, as a safety net: a test that passes only on its
# rerun still points at a fault (in the test or in how it uses Wine). Each
# is named in a RERUN line with what its first run printed, and counted in
# the summary.
run_ctest() {
  local name=$1 log first_log first_failed rerun_failed line skipped rerun=0
  shift
  log=$(mktemp)
  ctest "$@" --timeout 120 2>&1 | tee "$log"
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  local total=${line##* out of } failed
  failed=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
  skipped=$(skipped_tests "$log")
  if [ -z "$line" ]; then
    note_failure "ctest $name ran no test"
    rm -f "$log"
    return
  fi
  if [ "$failed" -gt 0 ] && { [ "$name" = i686 ] || [ "$name" = x86_64 ]; }; then
    first_failed=$(failed_tests "$log")
    first_log=$(mktemp)
    cp "$log" "$first_log"
    echo "== ctest $name: running the $failed failed tests once more"
    ctest "$@" --timeout 120 --rerun-failed 2>&1 | tee "$log"
    rerun_failed=$(failed_tests "$log")
    while read -r test; do
      [ -n "$test" ] && ! grep -qxF "$test" <<<"$rerun_failed" || continue
      rerun=$((rerun + 1))
      line="RERUN: $name: $test failed once and passed on its rerun"
      reruns+="$line"$'\n'
      echo "$line; its first run printed:"
      test_output "$first_log" "$test"
    done <<<"$first_failed"
    rm -f "$first_log"
    failed=$(grep -c . <<<"$rerun_failed")
  fi
  counts[$name]="$((total - failed - skipped)) $failed $skipped $rerun"
  [ "$failed" -eq 0 ] || note_failure "ctest $name"
  rm -f "$log"
}

for preset in "${windows_presets[@]}"; do
  echo "== ctest $preset"
  run_ctest "$preset" --preset "$preset"
done
if [ -n "$TARNELL_I686_NOT_RUN" ]; then
  # What needs no execution still runs: the image checks of the i686 build.
  echo "== ctest i686 image checks (its Wine tests do not run here: $TARNELL_I686_NOT_RUN)"
  run_ctest "i686 image checks" --test-dir build/i686/tests/image_checks --output-on-failure
fi
echo "== ctest native"
run_ctest native --preset native

for target in inflate png package skin; do
  echo "== fuzz $target"
  scripts/run-fuzz.sh $target "$PWD/build/fuzz" "$fuzz_seconds" || note_failure "fuzz $target"
done

echo
echo "== Summary"
passed=0 failed=0 skipped=0
for name in "${!counts[@]}"; do
  read -r p f k r <<<"${counts[$name]}"
  printf '%-22s %5d passed, %d failed, %d skipped' "$name" "$p" "$f" "$k"
  [ "$r" -eq 0 ] && echo || echo ", $r of the passed only on their rerun"
  passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + k))
done
printf '%s' "$reruns"
[ -z "$TARNELL_I686_NOT_RUN" ] || echo "i686: built and its image checked, but its tests were NOT run: $TARNELL_I686_NOT_RUN"
[ $status -eq 0 ] && echo "All test suites passed." || echo "Some test suites FAILED." >&2
echo "tests: $passed passed, $failed failed, $skipped skipped"
exit $status
