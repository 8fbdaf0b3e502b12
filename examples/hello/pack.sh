#!/usr/bin/env bash
# Packs the example product into its setup:
#   examples/hello/pack.sh TARNELL_PACK WINDOWS_BUILD_DIR OUTPUT.exe
# TARNELL_PACK is the native builder (build/native/tools/tarnell-pack/
# tarnell-pack), WINDOWS_BUILD_DIR a Windows build that has built the targets
# tarnell-setup and hello_programs (build/i686). The setup program of that
# build becomes the setup's program part.
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 TARNELL_PACK WINDOWS_BUILD_DIR OUTPUT.exe" >&2; exit 2; }
pack=$1 build=$2 output=$3
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -x "$pack" ]; then
  echo "no tarnell-pack at $pack: build it first (cmake --preset native && cmake --build --preset native)" >&2
  exit 1
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp -r "$here/hello.toml" "$here/files" "$stage/"
mkdir "$stage/bin"
cp "$build/examples/hello/Hello.exe" "$build/examples/hello/HelloAgent.exe" "$stage/bin/"
# shellcheck source=tests/support/manifest-lib.sh
source "$here/../../tests/support/manifest-lib.sh"
match_architecture "$stage/hello.toml" "$build/src/app/tarnell-setup.exe"
"$pack" build "$stage/hello.toml" -o "$output" --stub "$build/src/app/tarnell-setup.exe"
