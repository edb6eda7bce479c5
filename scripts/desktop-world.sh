# Sourced by test-desktop.sh and bench-desktop.sh: a fresh user for the desktop
# program, under Xvfb, in a temporary HOME with its own XDG folders, and fake
# applications made from desktop entries.

# The calling script runs again under xvfb-run first, with its own arguments
# (a sourced file sees them and the script's name).
if [ -z "${ROUTELLE_UNDER_XVFB:-}" ]; then
  ROUTELLE_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

# $tmp holds the user's folders; programs started in the background go into
# `pids` and are stopped on exit, then $tmp is removed.
tmp=$(mktemp -d)
pids=()
desktop_world_cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap desktop_world_cleanup EXIT

export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config XDG_DATA_HOME=$tmp/home/.local/share
export XDG_RUNTIME_DIR=$tmp/run XDG_DATA_DIRS=$tmp/home/.local/share:/usr/share
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID WAYLAND_DISPLAY BROWSER
mkdir -p "$XDG_CONFIG_HOME/routelle" "$XDG_DATA_HOME/applications" "$XDG_RUNTIME_DIR" "$tmp/bin"
chmod 700 "$XDG_RUNTIME_DIR"

# An application's entry in the user's applications folder:
# desktop_entry ID NAME EXEC [MIMETYPES]
desktop_entry() {
  {
    echo "[Desktop Entry]"
    echo "Type=Application"
    echo "Name=$2"
    echo "Exec=$3"
    if [ -n "${4:-}" ]; then echo "MimeType=$4"; fi
  } >"$XDG_DATA_HOME/applications/$1.desktop"
}

# The MIME types of a web browser's entry.
web_types="x-scheme-handler/http;x-scheme-handler/https;text/html;"

# A script in $tmp/bin from standard input: fake_program NAME
fake_program() {
  cat >"$tmp/bin/$1"
  chmod +x "$tmp/bin/$1"
}

# The running program's socket, once it listens.
instance_socket=$XDG_RUNTIME_DIR/routelle-desktop.socket
