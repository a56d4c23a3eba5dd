#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test: each fuzz
# target for a short bounded time, then the unit and widget tests through
# ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
export DOSAVO_WERROR=ON
bash scripts/build.sh
build="${BUILD_DIR:-build}"
if [ -f fuzz/run.sh ]; then
  bash fuzz/run.sh
fi
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j "${CTEST_PARALLEL_LEVEL:-$(nproc)}"
