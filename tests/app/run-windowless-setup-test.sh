#!/usr/bin/env bash
# A setup that cannot make its window: started where no display is (as in a
# session that has no desktop), the run ends at once, with "Abort while
# starting the program" and "Setup ended" in its log and exit code 0,
# instead of an elevated process that nobody sees waiting for ever.
#
#   run-windowless-setup-test.sh SETUP_STUB TARNELL_PACK OUTPUT_DIR
#
# The setup is packed here with the native tarnell-pack (skips, 77, without
# it). Wine takes the display from the Unix environment of the process that
# starts the setup, so DISPLAY is taken away there.
set -u

stub=$1
pack=$2
out=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/support/wine-paths.sh"
source "$root/tests/support/manifest-lib.sh"
source "$root/tests/support/check-lib.sh"
[ -x "$pack" ] || skip "no tarnell-pack at $pack; build the native preset first"
command -v wine >/dev/null || skip "wine is not installed"
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || skip "no Wine prefix; source scripts/wine-env.sh first"

rm -rf "$out"
mkdir -p "$out/temp"
echo "read me" >"$out/Readme.txt"
printf '[product]\nname = "Windowless"\nversion = "1.0"\n\n[[file]]\nsource = "Readme.txt"\n' >"$out/windowless.toml"
match_architecture "$out/windowless.toml" "$stub"
"$pack" build "$out/windowless.toml" -o "$out/Windowless_Setup.exe" --stub "$stub" >/dev/null || {
  echo "FAIL: tarnell-pack refused the test's package"
  exit 1
}

temp=$(windows_path "$out/temp")
env -u DISPLAY timeout 60 wine cmd /c "set TEMP=$temp&& set TMP=$temp&& $(windows_path "$out/Windowless_Setup.exe")" \
  >"$out/wine-output.txt" 2>&1
code=$?
# Wine started its desktop process for this run, without a display too, and
# windows that other tests make on it now fail. It ends a few seconds after
# its last client: the test runs alone and waits for that.
for _ in $(seq 150); do
  headless=""
  for pid in $(pgrep -f 'explorer.exe /desktop'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -q '^DISPLAY=' || headless=$pid
  done
  [ -z "$headless" ] && break
  sleep 0.2
done

if [ "$code" = 124 ]; then
  fail "the setup was still running after 60 seconds, with no window"
elif [ "$code" != 0 ]; then
  fail "exit code $code, not 0"
fi
log=$(sed -E 's/^[0-9./-]+  [0-9:]+  //' "$out/temp/Windowless_Setup.log" 2>/dev/null | tr -d '\r')
expected=$'Abort while starting the program\nSetup ended'
if [ "$(tail -n 2 <<<"$log")" != "$expected" ] || [ "$(head -n 1 <<<"$log")" != "Setup started" ]; then
  fail "the log does not end as expected:"
  echo "$log"
fi
[ "$failures" = 0 ] && pass "the run without a window ended with its log lines and exit code 0"
exit $((failures > 0))
