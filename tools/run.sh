#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it against the
# virtual sensor on COM1. Pass --real to run against a real sensor instead.
set -euo pipefail
cd "$(dirname "$0")/.."
./setup.sh
cmake -S . -B build -G Ninja
cmake --build build --target corvel-scope corvel-virtual-sensor corvel-rec2csv
if [ "${1:-}" = "--real" ]; then
  exec build/bin/corvel-scope
fi
exec tools/run-demo.sh build/bin
