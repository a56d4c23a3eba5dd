#!/usr/bin/env bash
# Builds the fuzz targets with clang++ (libFuzzer, address and undefined
# behaviour sanitizers) into <build>-fuzz and runs each for a short bounded
# time ($FUZZ_SECONDS, 20 s by default). Fails when any target finds a
# crash, a hang or a sanitizer report.
set -uo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
build="${BUILD_DIR:-build}"
case "$build" in
  /*) out="${build}-fuzz" ;;
  *) out="$root/${build}-fuzz" ;;
esac
seconds="${FUZZ_SECONDS:-20}"
cxx="${FUZZ_CXX:-clang++}"
if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "fuzz: $cxx not found; fuzz targets not run" >&2
  exit 1
fi
# The targets come from the CMake description (option DOSAVO_FUZZ), in a
# build folder of their own; DOSAVO_WERROR=ON makes every warning an error.
set -e
options=(-DCMAKE_CXX_COMPILER="$cxx" -DDOSAVO_FUZZ=ON)
if [ -n "${DOSAVO_WERROR:-}" ]; then
  options+=(-DDOSAVO_WERROR="$DOSAVO_WERROR")
fi
if [ ! -f "$out/CMakeCache.txt" ]; then
  options+=(-G Ninja)
fi
cmake -S "$root" -B "$out" "${options[@]}" >/dev/null
cmake --build "$out"
targets=()
for src in "$root"/fuzz/*_fuzz.cpp; do
  targets+=("$(basename "$src" .cpp)")
done
set +e

# The targets write their files into a temporary folder; a folder in memory
# lets the file-heavy targets run many more inputs in the same time.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

failed=()
for name in "${targets[@]}"; do
  corpus="$out/corpus/$name"
  mkdir -p "$corpus" "$out/artifacts/$name"
  seeds="$root/fuzz/seeds/${name%_fuzz}"
  dirs=("$corpus")
  [ -d "$seeds" ] && dirs+=("$seeds")
  echo "fuzz: $name for ${seconds}s"
  if ! "$out/fuzz/$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -print_final_stats=0 \
       -artifact_prefix="$out/artifacts/$name/" "${dirs[@]}" >"$out/$name.log" 2>&1; then
    echo "fuzz: $name FAILED; see $out/$name.log and $out/artifacts/$name/" >&2
    tail -n 40 "$out/$name.log" >&2
    failed+=("$name")
  else
    tail -n 1 "$out/$name.log"
  fi
done
if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzz: failures in ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: all targets passed"
