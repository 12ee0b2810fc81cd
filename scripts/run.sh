#!/usr/bin/env bash
# Installs the dependencies, builds the suite in build/ (with the generated "Vorta Strike" test ROM
# set in build/testroms/) and starts the emulator on it. Extra arguments go to the emulator.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build
exec build/bin/vortastr JN --rompath build/testroms "$@"
