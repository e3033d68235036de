#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the tests.
#   BUILD_DIR  build folder (default: build)
#   CMAKE_ARGS extra configure arguments (e.g. -DCORVEL_SANITIZE=ON)
set -euo pipefail
cd "$(dirname "$0")/.."
./setup.sh
BUILD_DIR=${BUILD_DIR:-build}
# shellcheck disable=SC2086
cmake -S . -B "$BUILD_DIR" -G Ninja ${CMAKE_ARGS:-}
cmake --build "$BUILD_DIR"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD_DIR" -LE bench --output-on-failure -j2
