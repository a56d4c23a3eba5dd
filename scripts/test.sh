#!/usr/bin/env bash
# Builds and runs every test: the unit and widget tests through ctest, then
# each fuzz target for a short bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build="${BUILD_DIR:-build}"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
if [ -f fuzz/run.sh ]; then
  bash fuzz/run.sh
fi
