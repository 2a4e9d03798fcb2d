#!/usr/bin/env bash
# Builds the Debian packages merkwald and merkwald-cli (dpkg-buildpackage -us
# -uc -b), checks them with lintian (an error fails), checks that merkwald-cli
# needs no graphical library, unpacks both into a folder and runs the install
# check on it. The packages, .buildinfo and .changes end up in build-deb.
# MERKWALD_CMAKE_FLAGS is handed to the package's CMake configuration (see
# debian/rules); DEB_BUILD_OPTIONS as always.
# Usage: scripts/package_check.sh
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "package check: $*" >&2; exit 1; }

out="$PWD/build-deb"
version="$(dpkg-parsechangelog -S Version)"
arch="$(dpkg --print-architecture)"
rm -rf "$out"
mkdir -p "$out"
dpkg-buildpackage -us -uc -b
# dpkg-buildpackage leaves its results beside the source folder.
for f in ../merkwald_"${version}"_"${arch}".{buildinfo,changes} \
         ../merkwald{,-cli}{,-dbgsym}_"${version}"_"${arch}".{deb,ddeb}; do
  if [ -e "$f" ]; then mv "$f" "$out/"; fi
done
changes="$out/merkwald_${version}_${arch}.changes"
[ -e "$changes" ] || fail "no .changes file"
deb="$out/merkwald_${version}_${arch}.deb"
cli_deb="$out/merkwald-cli_${version}_${arch}.deb"

lintian --fail-on error "$changes" \
  || fail "lintian found errors"

# The terminal tool works without any graphical library.
cli_depends="$(dpkg-deb -f "$cli_deb" Depends)"
if grep -Eq 'libqt6(widgets|gui)|merkwald( |,|$)' <<<"$cli_depends"; then
  fail "merkwald-cli depends on graphical libraries: $cli_depends"
fi

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$cli_deb" "$root"
if ldd "$root/usr/bin/merkwald-cli" | grep -Eq 'libQt6(Widgets|Gui)'; then
  fail "merkwald-cli links graphical libraries"
fi

# The terminal tool's package alone: the example reminders and the places.
cli() {
  env -u MERKWALD_HOME HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config" \
    XDG_DATA_HOME="$root/home/.local/share" "$root/usr/bin/merkwald-cli" "$@"
}
listed="$(cli list --file "$root/usr/share/merkwald/beispiel.rmd")" \
  || fail "merkwald-cli list on the example file"
grep -q '[[:alnum:]]' <<<"$listed" || fail "merkwald-cli list showed nothing"
echo "package check: merkwald-cli lists $(wc -l <<<"$listed") lines of the example file"
cli astro --place Berlin --date 1.1.2000 >/dev/null || fail "merkwald-cli finds no places"

dpkg-deb -x "$deb" "$root"
./scripts/install_check.sh --prefix "$root/usr"
echo "package check: passed"
