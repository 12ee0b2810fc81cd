#!/usr/bin/env bash
# Installs every package the suite builds, runs and tests with, on Debian 12 or a recent Ubuntu.
# Safe to run again: apt-get skips what is already there. Works as root or through sudo.
set -euo pipefail

packages=(
  # build tools
  build-essential cmake ninja-build pkg-config git
  # libraries of the four programs
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsdl2-dev libopenal-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev
  libcdio-dev libiso9660-dev
  zlib1g-dev nlohmann-json3-dev libzip-dev
  # tests, benchmarks and fuzzing
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-dev clang-format clang-tidy
  ffmpeg genisoimage xvfb xauth
  # assemblers of the generated test ROMs (V30, Z80, 6502)
  nasm z80asm pasmo cc65
  # fonts, so that offscreen screenshots show text
  fonts-dejavu-core
)

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
