#!/usr/bin/env bash
# Builds dosavo, or quizwright when its name is the first argument, and
# starts it in the bundled sample folder. Only that program and the sample
# data are built; scripts/test.sh builds the tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
program=dosavo
folder=trainee
if [ "${1:-}" = quizwright ]; then
  program=quizwright
  folder=authoring
  shift
fi

# Either program needs a graphical session: without one Qt aborts, so say
# so before building anything. QT_QPA_PLATFORM names another platform
# (offscreen, vnc ...) and is taken as it stands.
display_ok() {
  [ -n "${QT_QPA_PLATFORM:-}" ] && return 0
  if [ -n "${WAYLAND_DISPLAY:-}" ]; then
    case "$WAYLAND_DISPLAY" in
      /*) [ -S "$WAYLAND_DISPLAY" ] && return 0 ;;
      *) [ -S "${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/$WAYLAND_DISPLAY" ] && return 0 ;;
    esac
  fi
  if [ -n "${DISPLAY:-}" ]; then
    # A local display (:N) has its socket; a remote one is taken on trust.
    case "$DISPLAY" in
      :*)
        local number="${DISPLAY#:}"
        [ -S "/tmp/.X11-unix/X${number%%.*}" ] && return 0
        ;;
      *) return 0 ;;
    esac
  fi
  return 1
}
if ! display_ok; then
  echo "run: no display found (DISPLAY=${DISPLAY:-}, WAYLAND_DISPLAY=${WAYLAND_DISPLAY:-}):" \
       "$program needs a graphical session, or QT_QPA_PLATFORM set to a platform such as offscreen." >&2
  exit 1
fi

DOSAVO_BUILD_UI=ON bash scripts/build.sh "$program" sampledata
cd "$build/sample"
exec "../$folder/$program" "$@"
