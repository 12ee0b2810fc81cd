#!/usr/bin/env bash
# Installs the dependencies, builds the emulator and its generated "Vorta Strike" test ROM set in
# build/ (only these two targets, not the tests or the other programs) and starts the emulator on
# the set. Extra arguments go to the emulator. A second run rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build build --target vortastr vortastr_testroms
exec build/bin/vortastr JN --rompath build/testroms "$@"
