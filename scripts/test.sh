#!/usr/bin/env bash
# The whole check, as CI runs it. Each build serves two purposes:
# - the sanitized build (AddressSanitizer and UBSan, warnings as errors) runs
#   every test and the install check;
# - the Debian package build is also the optimised build of every target
#   (Release, the distribution's hardening flags, warnings as errors); the
#   packages go through lintian and the unpacked programs through the install
#   check;
# - a plain Release build of merkwald-cli counts the instructions of `list`
#   against the committed baseline (the guard of the main job's speed);
# - the fuzz targets (clang, libFuzzer) run a minute each from their seeds;
# - the calendar and engine tests are built for Windows with mingw-w64 and run
#   under wine.
# MERKWALD_FUZZ_SECONDS changes the fuzzing time per target.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
step() { echo "test: $1 ($((SECONDS - start)) s)"; }
./scripts/setup.sh
./scripts/check_format.sh
jobs="$(nproc)"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

# Optimised a little and without debug information it takes half the time of a
# debug build, and asserts stay on.
step "sanitized build"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O1 \
  -DMERKWALD_SANITIZE=ON -DMERKWALD_WERROR=ON "${launcher[@]}"
cmake --build build-sanitize -j"$jobs"
(
  export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ./scripts/install_check.sh build-sanitize
  step "tests"
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
)

# The tests ran above; here they are only compiled (nocheck), with the
# benchmarks, and without debug information (nor debug packages), which the
# check does not need.
step "package build"
DEB_BUILD_OPTIONS="nocheck noddebs terse parallel=$jobs" DEB_CXXFLAGS_STRIP="-g" \
  MERKWALD_CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Release -DMERKWALD_WERROR=ON -DMERKWALD_TESTS=ON \
    -DMERKWALD_BENCH=ON ${launcher[*]}" \
  ./scripts/package_check.sh

# The package build's flags differ from build to build of the distribution;
# the baseline belongs to a plain Release build, and only two targets need it.
step "instruction count of list"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DMERKWALD_WERROR=ON -DMERKWALD_BENCH=ON \
  "${launcher[@]}" >/dev/null
cmake --build build-release -j"$jobs" --target merkwald-cli make_bench_file
ctest --test-dir build-release -R '^list_instructions$' --output-on-failure | tee build-release/guard.log
# A skip (no valgrind, no baseline for this compiler) would pass quietly.
grep -Eq 'list_instructions \.+ +Passed' build-release/guard.log \
  || { echo "test: the instruction guard of list did not run" >&2; exit 1; }

step "fuzzing"
./scripts/fuzz.sh

step "windows"
./scripts/windows_check.sh
step "done"
