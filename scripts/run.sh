#!/usr/bin/env bash
# Builds everything and starts dosavo, or quizwright when its name is the
# first argument, in the bundled sample folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build="${BUILD_DIR:-build}"
program=trainee/dosavo
if [ "${1:-}" = quizwright ]; then
  program=authoring/quizwright
  shift
fi
# A build folder configured before the Qt parts were built by default keeps
# them switched off in its cache: switch them on.
if [ ! -x "$build/$program" ]; then
  cmake -S . -B "$build" -DDOSAVO_BUILD_UI=ON
  cmake --build "$build" -j "$(nproc)"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: ${program##*/} needs a graphical session (or set QT_QPA_PLATFORM)." >&2
fi
cd "$build/sample"
exec "../$program" "$@"
