#!/usr/bin/env bash
# Builds the Debug tree with warnings as errors and runs the whole test suite headless. The
# tree cross-builds the Windows test program with MinGW-w64 (timed here first), and the suite
# runs it under Wine (ctest's label summary gives the time of the tests labelled "windows").
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build-test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKALVEX_WERROR=ON
started=$(date +%s)
cmake --build "$root/build-test" --target kalvex_windows
echo "Windows cross build (MinGW-w64): $(($(date +%s) - started)) s"
cmake --build "$root/build-test"
cd "$root/build-test"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure "$@"
