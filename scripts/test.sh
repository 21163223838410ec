#!/usr/bin/env bash
# Builds everything and runs every test: ./scripts/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)"
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
