#!/usr/bin/env bash
# Builds the Debug tree with warnings as errors and runs the whole test suite headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build-test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKALVEX_WERROR=ON
cmake --build "$root/build-test"
cd "$root/build-test"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure "$@"
