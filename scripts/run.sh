#!/usr/bin/env bash
# Builds Merkwald and starts it on the shipped example data. Where no display is
# reachable it prints today's list on the terminal instead.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
export MERKWALD_HOME="${MERKWALD_HOME:-$PWD/build/bin}"
if [ -x build/bin/merkwald ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/bin/merkwald "$@"
fi
exec build/bin/merkwald-cli list "$@"
