#!/usr/bin/env bash
# Installs the dependencies, builds every program and test from scratch and runs the tests.
#   scripts/test.sh             Release build in build-test/ with warnings as errors
#   scripts/test.sh --sanitize  Debug build with ASan and UBSan in build-asan/
# Both first check that every C++ file is formatted by .clang-format (scripts/check-format.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/check-format.sh

if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  config=(-DCMAKE_BUILD_TYPE=Debug -DSUITE_SANITIZE=ON -DSUITE_BENCHMARKS=OFF)
else
  dir=build-test
  config=(-DCMAKE_BUILD_TYPE=Release)
fi

rm -rf "$dir"
cmake -S . -B "$dir" -G Ninja -DSUITE_WERROR=ON "${config[@]}"
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
