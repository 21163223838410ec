#!/usr/bin/env bash
# Builds the program and starts it on the embedded demo data: ./scripts/demo.sh
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)"
