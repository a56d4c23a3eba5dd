#!/usr/bin/env bash
# Configures build/ (or $BUILD_DIR) and builds the targets named, or
# everything (programs, tests, benchmarks) when none is named:
#   scripts/build.sh [target...]
# DOSAVO_WERROR, DOSAVO_BUILD_UI and DOSAVO_BUILD_BENCH, when set in the
# environment, are passed on as the CMake options of the same names.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build="${BUILD_DIR:-build}"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
for option in DOSAVO_WERROR DOSAVO_BUILD_UI DOSAVO_BUILD_BENCH; do
  if [ -n "${!option:-}" ]; then
    options+=("-D$option=${!option}")
  fi
done
# A folder configured before keeps its generator.
if [ ! -f "$build/CMakeCache.txt" ]; then
  options+=(-G Ninja)
fi
cmake -S . -B "$build" "${options[@]}" >/dev/null
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build "$build" "${targets[@]}"
