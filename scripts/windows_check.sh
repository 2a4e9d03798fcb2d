#!/usr/bin/env bash
# The portable layers (calendar and engine) built for 64-bit Windows with
# mingw-w64, warnings as errors, and their tests run under wine. Installs the
# cross compiler and wine from the distribution when they are missing.
# Usage: scripts/windows_check.sh [build folder, default build-windows]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-windows}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"

packages=(g++-mingw-w64-x86-64-posix wine wine64 googletest)
./scripts/install_packages.sh --no-install-recommends "${packages[@]}"

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
toolchain="$PWD/cmake/mingw-w64.cmake"

# GoogleTest from the distribution's sources, built with the cross compiler.
gtest="$build/googletest-install"
if [ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$build/googletest" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$gtest" \
    "${launcher[@]}" >/dev/null
  cmake --build "$build/googletest" -j"$(nproc)" >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi

# Qt and the pkg-config modules of this machine are not for Windows.
cmake -S . -B "$build/merkwald" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DMERKWALD_WERROR=ON -DMERKWALD_BENCH=OFF -DGTest_DIR="$gtest/lib/cmake/GTest" \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON -DCMAKE_DISABLE_FIND_PACKAGE_PkgConfig=ON \
  -Wno-dev "${launcher[@]}" >/dev/null
cmake --build "$build/merkwald" -j"$(nproc)" --target calendar_tests engine_tests

# A wine configuration of its own, made once, so that nothing of the user's is touched.
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8 TZ=Europe/Berlin
if [ ! -f "$WINEPREFIX/system.reg" ]; then wineboot --init >/dev/null 2>&1 || true; fi
failed=0
for tests in calendar_tests engine_tests; do
  echo "== $tests under wine"
  wine "$build/merkwald/tests/$tests.exe" --gtest_brief=1 || failed=1
done
wineserver -k 2>/dev/null || true
exit "$failed"
