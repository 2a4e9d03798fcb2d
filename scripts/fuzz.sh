#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time from
# its committed seed corpus (fuzz/corpus/NAME for fuzz_NAME), as many at once as
# there are cores. A crash, a leak, a sanitizer report, a slow input or a failed
# check fails the run; the input that did it is kept in build-fuzz/findings.
# New inputs the fuzzer finds go to a temporary folder: the corpus stays as
# committed. Each run has a fixed seed and a fixed number of inputs (about a
# minute on two cores), so a run repeats exactly what a developer ran before;
# the time limit only stops a slower machine earlier on the same path.
# MERKWALD_FUZZ_SEED picks another path, for a developer looking for new faults.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60, or MERKWALD_FUZZ_SECONDS)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-${MERKWALD_FUZZ_SECONDS:-60}}"
seed="${MERKWALD_FUZZ_SEED:-1}"
build="build-fuzz"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DMERKWALD_FUZZ=ON -DMERKWALD_TESTS=OFF \
  -DMERKWALD_BENCH=OFF -DMERKWALD_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target merkwald_fuzz

export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
findings="$build/findings"
rm -rf "$findings"
mkdir -p "$findings"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# fuzz NAME: one target's run; its output goes to findings/NAME.log.
fuzz() {
  local name="$1" options=()
  case "$name" in
    fuzz_reader | fuzz_expand | fuzz_dates) options+=(-dict=fuzz/rmd.dict) ;;
    fuzz_vcard) options+=(-dict=fuzz/vcard.dict) ;;
  esac
  case "$name" in
    fuzz_dates | fuzz_expand) options+=(-runs=1500000) ;;
    fuzz_csv) options+=(-runs=600000) ;;
    fuzz_icalendar) options+=(-runs=200000) ;;
    *) options+=(-runs=60000) ;;
  esac
  mkdir -p "$work/$name"
  "$build/fuzz/$name" "${options[@]}" -seed="$seed" -max_total_time="$seconds" -timeout=30 -max_len=4096 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/$name-" \
    "$work/$name" "fuzz/corpus/${name#fuzz_}" >"$findings/$name.log" 2>&1
}

targets=()
for program in "$build"/fuzz/fuzz_*; do
  [ -x "$program" ] && [ -f "$program" ] && targets+=("$(basename "$program")")
done
[ -n "${targets[*]}" ] || { echo "fuzz: no targets built" >&2; exit 1; }
declare -A running=()
failed=()
finish_one() {
  local pid name status=0
  wait -n -p pid "${!running[@]}" || status=$?
  name="${running[$pid]}"
  unset "running[$pid]"
  if [ "$status" -ne 0 ]; then
    failed+=("$name")
    echo "fuzz: $name failed ($status)" >&2
    tail -n 60 "$findings/$name.log" >&2
  else
    echo "fuzz: $name: $(grep -m1 -o 'stat::number_of_executed_units: [0-9]*' \
      "$findings/$name.log" | sed 's/.*: //') runs, no finding"
  fi
}
for name in "${targets[@]}"; do
  [ -d "fuzz/corpus/${name#fuzz_}" ] || { echo "fuzz: no seed corpus for $name" >&2; exit 1; }
  while [ "${#running[@]}" -ge "$(nproc)" ]; do finish_one; done
  fuzz "$name" &
  running[$!]="$name"
done
while [ "${#running[@]}" -gt 0 ]; do finish_one; done
[ "${#failed[@]}" -eq 0 ] || { echo "fuzz: failed: ${failed[*]}" >&2; exit 1; }
echo "fuzz: passed (${#targets[@]} targets, ${seconds} s each)"
