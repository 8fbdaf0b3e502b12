# shellcheck shell=bash
# The verdicts of the test scripts, sourced by every one of them: pass,
# fail, check and skip, and `failures`, the count of failed checks. Needs no
# display; screen-lib.sh adds the screen, the mouse and the keys.
#
# A script that wants more on a failure (a screenshot of the whole screen)
# defines after_failure; fail calls it after counting.

failures=0

# skip REASON: the test cannot run here; ctest counts exit code 77 as skipped.
skip() {
  echo "SKIPPED: $*"
  exit 77
}
pass() { echo "ok: $*"; }
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
  if declare -F after_failure >/dev/null; then after_failure; fi
}
# check DESCRIPTION COMMAND...: the program answers input in its own time,
# so a condition gets three seconds to come true.
check() {
  local what=$1
  shift
  for _ in $(seq 30); do
    if "$@"; then
      pass "$what"
      return
    fi
    sleep 0.1
  done
  fail "$what"
}
not() { ! "$@"; }
