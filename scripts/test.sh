#!/usr/bin/env bash
# Builds everything once, with warnings as errors and under AddressSanitizer and
# UBSan, runs every test there and checks the installed programs; then the
# calendar and engine tests for Windows under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/check_format.sh
jobs="$(nproc)"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

# One build serves both: optimised a little and without debug information it
# takes half the time of a debug build, and asserts stay on.
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O1 \
  -DMERKWALD_SANITIZE=ON -DMERKWALD_WERROR=ON "${launcher[@]}"
cmake --build build-sanitize -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
./scripts/install_check.sh build-sanitize
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
# The portable layers (calendar, engine) once more, built for Windows with
# mingw-w64 and tested under wine.
./scripts/windows_check.sh
