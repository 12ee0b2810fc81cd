#!/usr/bin/env bash
# Installs the dependencies, builds the suite in build/ and starts the main program.
# Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build
exec build/bin/hdrforge "$@"
