#!/usr/bin/env bash
# What `routelle menu` costs, start-up included, in a world of 10,000 domain and
# 1,000 per-application rules naming two installed browsers: peak resident
# memory and CPU time of each run as /usr/bin/time -v reports them, and the
# medians over RUNS runs.
#   bash bench/menu-cost.sh [DRIVER] [RUNS]     (default: build/rel/driver/routelle, 9)
set -euo pipefail
driver=${1:-build/rel/driver/routelle}
runs=${2:-9}
# MENU_COST_WORLD keeps the world in that folder for a closer look.
world=${MENU_COST_WORLD:-$(mktemp -d)}
[ -n "${MENU_COST_WORLD:-}" ] || trap 'rm -rf "$world"' EXIT

"$driver" --root "$world" install-app Safari --id com.apple.Safari >/dev/null
"$driver" --root "$world" install-app Firefox --id org.mozilla.firefox >/dev/null
mkdir -p "$world/Users/me"
{
  echo '<?xml version="1.0" encoding="UTF-8"?>'
  echo '<lists>'
  echo '  <domains>'
  for i in $(seq 0 9999); do
    echo "    <domain site=\"site$i.example.com\" browser=\"$([ $((i % 2)) = 1 ] && echo Firefox || echo Safari)\"/>"
  done
  echo '  </domains>'
  echo '  <apps>'
  for i in $(seq 0 999); do echo "    <app app=\"App$i\" browser=\"Safari\"/>"; done
  echo '  </apps>'
  echo '</lists>'
} >"$world/Users/me/rules.xml"
"$driver" --root "$world" click "Preferences... >    Rules > Import" --open-panel /Users/me/rules.xml >/dev/null
lines=$("$driver" --root "$world" menu | wc -l)
echo "menu: $lines lines"
# A menu without the rules would measure nothing worth having.
[ "$lines" -gt 20000 ] || { echo "menu-cost: the menu shows $lines lines, not the 11,000 rules" >&2; exit 1; }

# Peak resident memory as /usr/bin/time reports it (a process started straight
# from Python would carry Python's own peak across exec), and CPU time (user +
# sys) of the program alone, from wait4 at microsecond resolution: under
# /usr/bin/time the figure would also hold time's own start, about 5 ms here.
python3 - "$driver" "$world" "$runs" <<'PY'
import os, statistics, subprocess, sys
driver, world, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
command = [driver, "--root", world, "menu"]
rss, cpu = [], []
for _ in range(runs):
    timed = subprocess.run(["/usr/bin/time", "-f", "%M", *command],
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if timed.returncode != 0:
        sys.exit("routelle menu failed: " + timed.stderr)
    rss.append(int(timed.stderr.split()[-1]))
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("routelle menu failed")
    cpu.append((usage.ru_utime + usage.ru_stime) * 1000)
print(f"max resident: {statistics.median(rss):.0f} KiB (runs: {' '.join(map(str, rss))})")
print(f"CPU (user+sys): {statistics.median(cpu):.1f} ms (runs: {' '.join(f'{c:.1f}' for c in cpu)})")
PY
