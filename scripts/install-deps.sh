#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, idempotently: a few
# milliseconds when everything is there.
set -euo pipefail

packages=(
  cmake ninja-build make g++ clang clang-format shellcheck libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine32:i386 wine64 fonts-wine
  xvfb xdotool imagemagick x11-apps xauth
  libdeflate-dev zlib1g-dev libpng-dev libtomlplusplus-dev libssl-dev nlohmann-json3-dev
  osslsigncode openssl nsis python3-pil
)

if dpkg -s "${packages[@]}" >/dev/null 2>&1; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Some packages are missing; run this as root (or with sudo): ${packages[*]}" >&2
  exit 1
fi

# wine32 must be there before the first Wine prefix is made.
dpkg --add-architecture i386
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${packages[@]}" >/dev/null
