#!/usr/bin/env bash
# Runs a scenario test program under Wine on a machine of its own: the
# emulator of scenario_tests (see CMakeLists.txt), so ctest calls
#   in-scenario-prefix.sh CONFIG scenario_tests.exe --gtest_filter=...
#
# Each run gets a private copy of the Wine prefix that scripts/wine-env.sh
# made (WINEPREFIX), with its own wineserver: a scenario sees a clean
# machine, may install, break and uninstall freely, and runs in parallel
# with others. The copy shares the big system folders by hard links. When
# the machine allows it, drive T: of the copy is a 2 MiB tmpfs, a disk that
# fills up. The setups come from the native tarnell-pack, built here once
# and again whenever the manifests, the payload or the tools change.
#
# When something is missing (no tarnell-pack, no prefix) the tests are run
# with TARNELL_SCENARIO_SKIP set to the reason, and they skip.
#
#   in-scenario-prefix.sh CONFIG --setups-only
# builds the setups and ends (exit 77 when it cannot): the test that the
# scenarios need first.
set -uo pipefail

config=$1
shift
# shellcheck source=/dev/null
source "$config"  # TARNELL_PACK, SCENARIO_SOURCE, SCENARIO_BINARY, SETUP_STUB, SETUP_DRIVER, HELLO_EXE, AGENT_EXE

# Listing the tests needs no machine of its own.
for argument in "$@"; do
  [ "$argument" = --gtest_list_tests ] && exec wine "$@"
done

setups_only=false
[ "${1:-}" = --setups-only ] && setups_only=true
# skip REASON COMMAND...
skip() {
  local reason=$1
  shift
  if $setups_only; then
    echo "no scenario setups: $reason"
    exit 77
  fi
  TARNELL_SCENARIO_SKIP=$reason exec wine "$@"
}
# shellcheck source=../support/wine-paths.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/wine-paths.sh"
# shellcheck source=../support/manifest-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/manifest-lib.sh"

[ -x "$TARNELL_PACK" ] || skip "no tarnell-pack at $TARNELL_PACK: build the native preset first" "$@"
template=${WINEPREFIX:-}
[ -n "$template" ] && [ -f "$template/system.reg" ] ||
  skip "no Wine prefix: source scripts/wine-env.sh and run wine_env_start first" "$@"

# The setups, and the files each should install, as the builder sees them.
setups=$SCENARIO_BINARY/setups
stage=$SCENARIO_BINARY/stage
# Two versions of a product tree three folders deep: 2.0 drops lib/a0/b0 and
# lib/a3, moves one file, changes lib/a2 and adds new/.
make_trees() {
  local a b c version
  for version in 1.0 2.0; do
    for a in 0 1 2 3 4 5; do
      for b in 0 1 2 3 4; do
        mkdir -p "$1/tree-$version/lib/a$a/b$b"
        for c in 0 1 2 3 4 5 6 7 8 9; do
          printf 'file %s %s %s of %s\n' "$a" "$b" "$c" "$([ "$a" = 2 ] && echo "$version" || echo any)" \
            >"$1/tree-$version/lib/a$a/b$b/f$c.txt"
        done
      done
    done
  done
  rm -r "$1/tree-2.0/lib/a0/b0" "$1/tree-2.0/lib/a3"
  mkdir -p "$1/tree-2.0/moved" "$1/tree-2.0/new/x/y"
  mv "$1/tree-2.0/lib/a1/b1/f0.txt" "$1/tree-2.0/moved/f0.txt"
  for c in 0 1 2 3 4; do printf 'new %s\n' "$c" >"$1/tree-2.0/new/x/y/n$c.txt"; done
}
build_setups() {
  local stamp=$setups/.stamp
  if [ -f "$stamp" ] && [ -z "$(find "$SCENARIO_SOURCE/products" "$TARNELL_PACK" "$SETUP_STUB" "$HELLO_EXE" \
                                     "$AGENT_EXE" -newer "$stamp" -print -quit)" ]; then
    return 0
  fi
  rm -rf "$setups" "$stage"
  mkdir -p "$setups" "$stage"
  cp -r "$SCENARIO_SOURCE/products/." "$stage/"
  mkdir -p "$stage/payload/bin"
  cp "$HELLO_EXE" "$AGENT_EXE" "$stage/payload/bin/"
  # Incompressible data, as a product's media would be.
  head -c 262144 /dev/urandom >"$stage/payload/Library.dll"
  head -c 262144 /dev/urandom >"$stage/payload/Library-2.dll"
  make_trees "$stage"
  local manifest name
  for manifest in "$stage"/*.toml; do
    match_architecture "$manifest" "$SETUP_STUB"
    name=$(basename "$manifest" .toml)
    "$TARNELL_PACK" build "$manifest" -o "$setups/$name.exe" --stub "$SETUP_STUB" >/dev/null &&
      "$TARNELL_PACK" extract "$setups/$name.exe" "$setups/$name" >/dev/null || return 1
  done
  touch "$stamp"
}
mkdir -p "$SCENARIO_BINARY"
(
  flock 9
  build_setups
) 9>"$SCENARIO_BINARY/setups.lock" || { echo "tarnell-pack could not build the scenario setups (see above)" >&2; exit 1; }
$setups_only && exit 0

# The private machine.
prefix=$(mktemp -d "$SCENARIO_BINARY/prefix.XXXXXX")
disk=""
cleanup() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
  [ -n "$disk" ] && umount "$disk" 2>/dev/null
  rm -rf "$prefix"
}
trap cleanup EXIT
trap 'exit 143' TERM INT  # a timed-out test still takes its prefix and disk along
for entry in "$template"/* "$template"/.update-timestamp; do
  case $(basename "$entry") in
    drive_c | wineserver) ;;
    *) cp -a "$entry" "$prefix/" ;;
  esac
done
mkdir -p "$prefix/drive_c/windows"
for entry in "$template"/drive_c/*; do
  [ "$(basename "$entry")" = windows ] || cp -a "$entry" "$prefix/drive_c/"
done
for entry in "$template"/drive_c/windows/*; do
  case $(basename "$entry") in
    system32 | syswow64) cp -al "$entry" "$prefix/drive_c/windows/" ;;
    *) cp -a "$entry" "$prefix/drive_c/windows/" ;;
  esac
done
if mkdir "$prefix/full-disk" && mount -t tmpfs -o size=2m tmpfs "$prefix/full-disk" 2>/dev/null; then
  disk=$prefix/full-disk
  ln -s ../full-disk "$prefix/dosdevices/t:"
fi

export WINEPREFIX=$prefix
# Persistent, so the test does not connect while wineboot's server ends.
wineserver -p </dev/null >/dev/null 2>&1 || { echo "no persistent Wine server for $prefix" >&2; exit 1; }
wine wineboot </dev/null >/dev/null 2>&1
TARNELL_SCENARIO_SETUPS=$(windows_path "$setups") TARNELL_SCENARIO_DRIVER=$(windows_path "$SETUP_DRIVER") \
  wine "$@"
