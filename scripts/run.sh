#!/usr/bin/env bash
# Builds dosavo and starts it in the bundled sample folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build="${BUILD_DIR:-build}"
cd "$build/sample"
exec ../trainee/dosavo "$@"
