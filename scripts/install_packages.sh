#!/usr/bin/env bash
# Installs those of the named Debian packages that are missing; nothing when
# all are there. Options before the names go to apt-get install.
# Usage: scripts/install_packages.sh [--no-install-recommends] PACKAGE...
set -euo pipefail
options=()
while [[ $# -gt 0 && $1 == --* ]]; do options+=("$1"); shift; done
missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${options[@]}" "${missing[@]}"
fi
