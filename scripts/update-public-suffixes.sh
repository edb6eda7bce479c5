#!/usr/bin/env bash
# Refreshes data/public_suffix_list.dat, the list the Mac app carries (the Mac has
# none of its own), from Debian's package "publicsuffix". The tests compare the
# program's reading of the copy with libpsl's, so any copy the list's format
# allows is read the same way.
set -euo pipefail
cd "$(dirname "$0")/.."
source=/usr/share/publicsuffix/public_suffix_list.dat
[ -f "$source" ] || { echo "$source not found: apt-get install publicsuffix" >&2; exit 1; }
cp "$source" data/public_suffix_list.dat
echo "data/public_suffix_list.dat: $(dpkg-query -W -f='${Version}' publicsuffix 2>/dev/null || echo '?')"
