#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses it as a new user would:
# the installed full and light programs start offscreen with a fresh home (past
# the first start), show the list without a message and end by themselves. The
# packaging files are validated where the tools are installed.
# With --prefix it checks an installed tree as it is, such as the usr folder
# of the unpacked Debian packages (scripts/package_check.sh).
# Usage: scripts/install_check.sh [BUILD_FOLDER]
#        scripts/install_check.sh --prefix PREFIX
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/start_support.sh
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "install check: $*" >&2; exit 1; }

if [ "${1:-}" = --prefix ]; then
  prefix="$(realpath "${2:?install check: --prefix needs a folder}")"
  share="$prefix/share"
  licence="$share/doc/merkwald/copyright"
else
  prefix="$work/prefix"
  cmake --install "${1:-build}" --prefix "$prefix" >/dev/null
  # A moved installation must still find its data: run it from elsewhere.
  mv "$prefix" "$work/moved"
  prefix="$work/moved"
  share="$prefix/share"
  licence="$share/doc/merkwald/LICENSE"
fi

for f in "$prefix/bin/merkwald" "$prefix/bin/merklight" "$prefix/bin/merkwald-cli" \
         "$share/merkwald/beispiel.rmd" "$share/merkwald/orte.dat" \
         "$share/applications/org.merkwald.Merkwald.desktop" \
         "$share/applications/org.merkwald.Merklight.desktop" \
         "$share/metainfo/org.merkwald.Merkwald.metainfo.xml" \
         "$share/man/man1/merkwald.1" "$share/man/man1/merklight.1" \
         "$share/man/man1/merkwald-cli.1" "$share/bash-completion/completions/merkwald-cli" \
         "$licence"; do
  # A package holds the manual pages compressed.
  [ -e "$f" ] || [ -e "$f.gz" ] || fail "not installed: ${f#"$prefix"/}"
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$share"/applications/*.desktop || fail "desktop entries"
fi
# Each entry starts an installed program, shows an installed icon and names the
# window class its program gives its windows (the desktop's tie from window to entry).
entry_value() { sed -n "s/^$2=//p" "$1" | head -n 1; }
for entry in "Merkwald merkwald" "Merklight merklight"; do
  read -r class program <<<"$entry"
  desktop="$share/applications/org.merkwald.$class.desktop"
  [ "$(entry_value "$desktop" Exec)" = "$program" ] || fail "$desktop: Exec"
  [ "$(entry_value "$desktop" StartupWMClass)" = "$class" ] || fail "$desktop: StartupWMClass"
  icon="$(entry_value "$desktop" Icon)"
  [ -e "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "$desktop: icon $icon"
done
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$share/metainfo/org.merkwald.Merkwald.metainfo.xml" \
    || fail "AppStream file"
fi

# A new user past the first start; each program shows its list and ends.
new_user "$work" "$prefix/bin/merkwald"
for program in merkwald merklight; do
  shown="$(shows_list "$prefix/bin/$program")" || fail "$program"
  echo "install check: $shown"
done
[ -e "$XDG_DATA_HOME/Merkwald/beispiel.rmd" ] || fail "the user's folder was not filled"

# A second start hands over to the running copy and ends at once.
MERKWALD_PRINT_LIST=1 timeout 60 "$prefix/bin/merkwald" no_logo /unload=3 >"$work/first.out" \
  2>/dev/null &
first=$!
for _ in $(seq 100); do [ -s "$work/first.out" ] && break; sleep 0.1; done
second="$(MERKWALD_PRINT_LIST=1 timeout 20 "$prefix/bin/merkwald" no_logo 2>/dev/null)" \
  || fail "the second start did not end"
[ -z "$second" ] || fail "the second start showed a window of its own"
wait "$first" || fail "the first copy did not end by itself"
[ -e "$XDG_DATA_HOME/Merkwald/neues.txt" ] && fail "program files were copied to the user's folder"

# The command-line tool, its manners and the completion's place names.
"$prefix/bin/merkwald-cli" astro --place Berlin --date 1.1.2000 >/dev/null \
  || fail "merkwald-cli does not find the installed places"
status=0
"$prefix/bin/merkwald-cli" holidays 1800 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "merkwald-cli holidays 1800 ended with $status"
"$prefix/bin/merkwald" --help | grep -q '^Aufruf: merkwald' || fail "merkwald --help"
places="$(PATH="$prefix/bin:$PATH" bash -c \
  "source '$share/bash-completion/completions/merkwald-cli' 2>/dev/null; _merkwald_cli_places")"
grep -qx 'Frankfurt am Main' <<<"$places" || fail "completion finds no place names"
echo "install check: passed"
