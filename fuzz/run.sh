#!/usr/bin/env bash
# Builds the fuzz targets with clang++ (libFuzzer, address and undefined
# behaviour sanitizers) and runs each for a short bounded time. Fails when
# any target finds a crash, a hang or a sanitizer report.
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
mkdir -p "$out/obj"
flags=(-std=c++20 -O1 -g -I"$root" -fsanitize=address,undefined -fno-sanitize-recover=all
       -fno-omit-frame-pointer)
core=(text files listfile tables drug settings testfile)
# The tool's file rules, which only the tool's target calls.
model=(testdoc testfiles textexport drugform drugdatabase)

set -e
objs=()
for c in "${core[@]}"; do
  src="$root/core/$c.cpp"
  obj="$out/obj/$c.o"
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$root/core" -name '*.h' -newer "$obj" -print -quit)" ]; then
    "$cxx" "${flags[@]}" -fsanitize=fuzzer-no-link -c "$src" -o "$obj"
  fi
  objs+=("$obj")
done
modelobjs=()
for c in "${model[@]}"; do
  src="$root/authoring/model/$c.cpp"
  obj="$out/obj/model_$c.o"
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$root/core" "$root/authoring/model" -name '*.h' -newer "$obj" -print -quit)" ]; then
    "$cxx" "${flags[@]}" -fsanitize=fuzzer-no-link -c "$src" -o "$obj"
  fi
  modelobjs+=("$obj")
done
targets=()
for src in "$root"/fuzz/*_fuzz.cpp; do
  name="$(basename "$src" .cpp)"
  extra=()
  [ "$name" = quizwright_fuzz ] && extra=("${modelobjs[@]}")
  "$cxx" "${flags[@]}" -fsanitize=fuzzer "$src" "${objs[@]}" "${extra[@]}" -o "$out/$name"
  targets+=("$name")
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
  if ! "$out/$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -print_final_stats=0 \
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
