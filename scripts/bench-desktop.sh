#!/usr/bin/env bash
# Speed and size of routelle-desktop against the real xdg-open, under Xvfb:
# - a link handed to the running program reaches the browser's start with at most
#   20 ms added over xdg-open starting that browser directly (median of 100 each,
#   measured side by side, alternating);
# - the tray process's resident memory with 10,000 rules (at most 40 MB).
#
#   bash scripts/bench-desktop.sh [routelle-desktop]   (a Release build gives the figures)
set -euo pipefail
exe=$(realpath "${1:-build/rel/linux/routelle-desktop}")
runs=${RUNS:-100}
source "$(dirname "$0")/desktop-world.sh"

# The browser says when it started, through a pipe the benchmark blocks on.
export STARTED=$tmp/started
mkfifo "$STARTED"
fake_program browser <<'SH'
#!/bin/sh
echo "$(date +%s%N) $1" >"$STARTED"
SH
desktop_entry benchbrowser "Bench browser" "$tmp/bin/browser %u" "${web_types}x-scheme-handler/bench;"

# 10,000 domain rules, stored as the program stores them: imported from a rule file.
{
  echo '<?xml version="1.0" encoding="UTF-8"?><lists><domains>'
  for i in $(seq 1 9999); do echo "<domain site=\"site$i.example\" browser=\"otherbrowser\"/>"; done
  echo '<domain site="example.org" browser="benchbrowser"/>'
  echo '</domains><apps/></lists>'
} >"$tmp/rules.xml"
"$exe" script ImportCommandScript --FilePath "$tmp/rules.xml" >/dev/null

"$exe" --install --make-default >/dev/null
xdg-mime default benchbrowser.desktop x-scheme-handler/bench
"$exe" >"$tmp/routelle.log" 2>&1 &
tray=$!
pids+=($tray)
until [ -S "$instance_socket" ]; do sleep 0.05; done

now() { date +%s%N; }
# A start of another link than the one asked for would pair the wrong times.
started_at() { # expected link
  local line
  read -r line <"$STARTED"
  [ "${line#* }" = "$1" ] || { echo "the browser started with ${line#* }, not $1" >&2; exit 1; }
  echo "${line%% *}"
}
direct=() routed=()
for i in $(seq 1 "$runs"); do
  # xdg-open waits for what it starts, which waits for the pipe to be read.
  t=$(now); xdg-open "bench://direct/$i" & s=$(started_at "bench://direct/$i"); wait $!; direct+=($(((s - t) / 1000)))
  t=$(now); xdg-open "https://example.org/$i" & s=$(started_at "https://example.org/$i"); wait $!; routed+=($(((s - t) / 1000)))
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : int((a[NR/2] + a[NR/2+1]) / 2)}'; }
md=$(median "${direct[@]}") mr=$(median "${routed[@]}")
echo "xdg-open to the browser's start, median of $runs: directly $((md / 1000)).$(((md % 1000) / 100)) ms," \
  "through routelle-desktop $((mr / 1000)).$(((mr % 1000) / 100)) ms: $(((mr - md) / 1000)).$((((mr - md) % 1000) / 100)) ms added"

rss() { awk '/VmRSS/ {print $2}' "/proc/$tray/status"; }
echo "tray with 10,000 rules: $(($(rss) / 1024)) MB resident after $((2 * runs)) links"
