#!/usr/bin/env bash
# Builds and runs every test: each fuzz target for a short bounded time, then
# the unit and widget tests through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build="${BUILD_DIR:-build}"
if [ -f fuzz/run.sh ]; then
  bash fuzz/run.sh
fi
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
