# Sourced by the start checks: a new user past the first start, and one program
# started offscreen that must show its list and end by itself.

# new_user FOLDER PROGRAM: a home in FOLDER with nothing of the developer's
# settings, data or running copies; its store says the what-is-new window of
# PROGRAM's version was seen and nothing was missed.
new_user() {
  local folder="$1" program="$2" version
  export HOME="$folder/home"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
  export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$folder/runtime"
  mkdir -p "$XDG_CONFIG_HOME/Merkwald" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset MERKWALD_HOME DISPLAY WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
  version="$("$program" --version | sed 's/^[^ ]* //; s/\.//g')"
  cat > "$XDG_CONFIG_HOME/Merkwald/Merkwald.conf" <<CONF
[General]
Version=$version
Date=$(date +%d.%m.%y)
CONF
}

# shows_list PROGRAM: the program prints the list it shows and ends by
# /unload=1; a message box would keep it waiting until the timeout ends it.
shows_list() {
  local program="$1" name out status=0
  name="$(basename "$program")"
  out="$(MERKWALD_PRINT_LIST=1 timeout 60 "$program" no_logo /unload=1 2>"$HOME/$name.err")" \
    || status=$?
  if [ "$status" -ne 0 ]; then
    cat "$HOME/$name.err" >&2
    echo "$name did not end by itself ($status)" >&2
    return 1
  fi
  if ! grep -q '[[:alnum:]]' <<<"$out"; then
    echo "$name showed an empty list" >&2
    return 1
  fi
  echo "$name shows: $(head -n 1 <<<"$out")"
}
