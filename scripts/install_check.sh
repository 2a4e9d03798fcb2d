#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses it as a new user would:
# the installed full and light programs start offscreen with a fresh home (past
# the first start), show the list without a message and end by themselves. The
# packaging files are validated where the tools are installed.
# Usage: scripts/install_check.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "install check: $*" >&2; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
# A moved installation must still find its data: run it from elsewhere.
mv "$prefix" "$work/moved"
prefix="$work/moved"
share="$prefix/share"

for f in "$prefix/bin/merkwald" "$prefix/bin/merklight" "$prefix/bin/merkwald-cli" \
         "$share/merkwald/beispiel.rmd" "$share/merkwald/orte.dat" \
         "$share/applications/org.merkwald.Merkwald.desktop" \
         "$share/applications/org.merkwald.Merklight.desktop" \
         "$share/metainfo/org.merkwald.Merkwald.metainfo.xml" \
         "$share/man/man1/merkwald.1" "$share/man/man1/merklight.1" \
         "$share/man/man1/merkwald-cli.1" "$share/bash-completion/completions/merkwald-cli" \
         "$share/doc/merkwald/LICENSE"; do
  [ -e "$f" ] || fail "not installed: ${f#"$prefix"/}"
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$share"/applications/*.desktop || fail "desktop entries"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$share/metainfo/org.merkwald.Merkwald.metainfo.xml" \
    || fail "AppStream file"
fi

# A new user: nothing of the developer's settings, data or running copies.
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME/Merkwald" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset MERKWALD_HOME DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8

# Past the first start: the what-is-new window has been seen, nothing was missed.
version="$("$prefix/bin/merkwald" --version | sed 's/^merkwald //; s/\.//g')"
cat > "$XDG_CONFIG_HOME/Merkwald/Merkwald.conf" <<CONF
[General]
Version=$version
Date=$(date +%d.%m.%y)
CONF

# Each program prints the list it shows; a message box would keep it waiting
# until the timeout ends it.
for program in merkwald merklight; do
  status=0
  out="$(MERKWALD_PRINT_LIST=1 timeout 60 "$prefix/bin/$program" no_logo /unload=1 \
         2>"$work/$program.err")" || status=$?
  [ "$status" -eq 0 ] || { cat "$work/$program.err" >&2; fail "$program did not end by itself ($status)"; }
  grep -q '[[:alnum:]]' <<<"$out" || fail "$program showed an empty list"
  echo "install check: $program shows: $(head -n 1 <<<"$out")"
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
