#!/usr/bin/env bash
# Speed and size of routelle-desktop against the real xdg-open, under Xvfb:
# - a link handed to the running program reaches the browser's start with at most
#   20 ms added over xdg-open starting that browser directly (median of 100 each,
#   measured side by side, alternating);
# - the tray process's resident memory with 10,000 rules (at most 40 MB).
#
#   bash scripts/bench-desktop.sh [routelle-desktop] [routelle driver]   (a Release build gives the figures)
set -euo pipefail
exe=$(realpath "${1:-build/rel/linux/routelle-desktop}")
driver=$(realpath "${2:-$(dirname "$exe")/../driver/routelle}")
runs=${RUNS:-100}
if [ -z "${ROUTELLE_UNDER_XVFB:-}" ]; then
  ROUTELLE_UNDER_XVFB=1 RUNS=$runs exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$exe" "$driver"
fi

tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config XDG_DATA_HOME=$tmp/home/.local/share
export XDG_RUNTIME_DIR=$tmp/run XDG_DATA_DIRS=$tmp/home/.local/share:/usr/share
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION WAYLAND_DISPLAY BROWSER
mkdir -p "$XDG_CONFIG_HOME/routelle" "$XDG_DATA_HOME/applications" "$XDG_RUNTIME_DIR" "$tmp/bin"
chmod 700 "$XDG_RUNTIME_DIR"

# The browser says when it started, through a pipe the benchmark blocks on.
export STARTED=$tmp/started
mkfifo "$STARTED"
cat >"$tmp/bin/browser" <<'SH'
#!/bin/sh
echo "$(date +%s%N) $1" >"$STARTED"
SH
chmod +x "$tmp/bin/browser"
cat >"$XDG_DATA_HOME/applications/benchbrowser.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Bench browser
Exec=$tmp/bin/browser %u
MimeType=x-scheme-handler/http;x-scheme-handler/https;x-scheme-handler/bench;
DESKTOP

# 10,000 domain rules, stored as the program stores them: imported by the host
# program from a rule file, then its settings file moved over.
{
  echo '<?xml version="1.0" encoding="UTF-8"?><lists><domains>'
  for i in $(seq 1 9999); do echo "<domain site=\"site$i.example\" browser=\"otherbrowser\"/>"; done
  echo '<domain site="example.org" browser="benchbrowser"/>'
  echo '</domains><apps/></lists>'
} >"$tmp/rules.xml"
world=$tmp/world
mkdir -p "$world"
cp "$tmp/rules.xml" "$world/rules.xml"
"$driver" --root "$world" script ImportCommandScript --FilePath /rules.xml >/dev/null
cp "$world/Library/Preferences/com.kestrova.Routelle.plist" "$XDG_CONFIG_HOME/routelle/"

"$exe" --install --make-default >/dev/null
xdg-mime default benchbrowser.desktop x-scheme-handler/bench
"$exe" >"$tmp/routelle.log" 2>&1 &
tray=$!
pids+=($tray)
until [ -S "$XDG_RUNTIME_DIR/routelle-desktop.socket" ]; do sleep 0.05; done

now() { date +%s%N; }
started_at() { local line; read -r line <"$STARTED"; echo "${line%% *}"; }
direct=() routed=()
for i in $(seq 1 "$runs"); do
  # xdg-open waits for what it starts, which waits for the pipe to be read.
  t=$(now); xdg-open "bench://direct/$i" & s=$(started_at); wait $!; direct+=($(((s - t) / 1000)))
  t=$(now); xdg-open "https://example.org/$i" & s=$(started_at); wait $!; routed+=($(((s - t) / 1000)))
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : int((a[NR/2] + a[NR/2+1]) / 2)}'; }
md=$(median "${direct[@]}") mr=$(median "${routed[@]}")
echo "xdg-open to the browser's start, median of $runs: directly $((md / 1000)).$(((md % 1000) / 100)) ms," \
  "through routelle-desktop $((mr / 1000)).$(((mr % 1000) / 100)) ms: $(((mr - md) / 1000)).$((((mr - md) % 1000) / 100)) ms added"

rss() { awk '/VmRSS/ {print $2}' "/proc/$tray/status"; }
echo "tray with 10,000 rules: $(($(rss) / 1024)) MB resident after $((2 * runs)) links"
