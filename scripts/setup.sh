#!/usr/bin/env bash
# Installs what building Merkwald needs on Debian 12 (only what is missing).
set -euo pipefail
# desktop-file-utils and appstream validate the packaging files in the install
# check; qt6-translations-l10n brings Qt's German dialog texts; dbus-daemon gives
# the digest notification's test a private bus; clang and its runtime build the
# fuzz targets (libFuzzer); dpkg-dev, debhelper, fakeroot and lintian build and
# check the Debian packages; valgrind counts the instructions of the list for
# its speed guard; qtkeychain-qt6-dev keeps the CalDAV password in the desktop's
# secret store, and radicale is the CalDAV server the publishing tests start.
packages=(build-essential cmake pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev libical-dev clang-format
          desktop-file-utils appstream qt6-translations-l10n dbus-daemon
          clang libclang-rt-14-dev dpkg-dev debhelper fakeroot lintian
          valgrind qtkeychain-qt6-dev radicale)
"$(dirname "$0")/install_packages.sh" "${packages[@]}"
