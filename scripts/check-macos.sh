#!/usr/bin/env bash
# The macOS product cannot be built here, so its Objective-C++ and Objective-C
# files are compiled with clang against GNUstep's headers (syntax only: nothing
# links or runs), with our declarations of the Apple-only API GNUstep lacks. The
# bundle's property lists and scripting definition are checked as documents.
# Fails on any error; prints one line per file. With file arguments, checks only those.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

packages=(libgnustep-base-dev libgnustep-gui-dev libblocksruntime-dev libxml2-utils libplist-utils python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Mac build's own flags, from the one list (cmake/CompileFlags.cmake), with
# warnings as errors as the test command builds everything else.
read -r -a mac_flags <<<"$(cmake -P cmake/CompileFlags.cmake 2>&1)"
((${#mac_flags[@]})) || { echo "FAIL  no compile flags read from cmake/CompileFlags.cmake"; exit 1; }
mac_flags+=(-Werror)

# What parsing against GNUstep needs besides. GNUstep's Foundation includes the GNU
# runtime's objc/objc.h, which lives in gcc's own include folder; it is searched last
# so that clang's headers win. The sources stay as they are on Apple: the
# compatibility header comes in ahead of each of them, and Apple's framework headers
# that GNUstep lacks lead to it too. GNUstep declares NSMenuDelegate's methods
# required where Apple's are optional (-Wno-protocol).
gcc_include=$(dirname "$(dirname "$(gcc -print-file-name=include/objc/objc.h)")")
gnustep=(-fsyntax-only -fobjc-runtime=gnustep-2.0 -fblocks -fobjc-exceptions -Wno-protocol
  -Imacos/compat/include -isystem /usr/include/GNUstep -idirafter "$gcc_include"
  -include macos/compat/AppleOnly.h -Isrc -Imacos)
# The Sparkle adapter is checked against the subset of Sparkle it uses.
gnustep+=(-Imacos/compat/sparkle)

# A file checked before with the same inputs (itself, everything it includes, the
# flags) is not parsed again: ccache keeps syntax-only results too.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
  launcher=(ccache)
fi

failed=0
checked=0
report() { # status, file, log
  checked=$((checked + 1))
  if [ "$1" -eq 0 ]; then
    echo "ok    $2"
  else
    failed=$((failed + 1))
    echo "FAIL  $2 ($(grep -c 'error:' "$3" || true) errors)"
    sed 's/^/      /' "$3"
  fi
}

log=$(mktemp)
trap 'rm -f "$log"' EXIT
if (($#)); then
  sources=("$@")  # only these files, for a quick look while working on them
else
  # Every Objective-C++ file in the tree, committed or not.
  mapfile -t sources < <(find src macos -name '*.mm' -o -name '*.m' | sort)
fi
compiled=0
for f in "${sources[@]}"; do
  case "$f" in
    *.mm) lang=(-x objective-c++ -std=c++20) ;;
    *.m) lang=(-x objective-c -std=c11) ;;
  esac
  extra=()
  # The extension's own sources are built as application-extension code.
  case "$f" in macos/ShareExtension/*) extra=(-fapplication-extension) ;; esac
  status=0
  "${launcher[@]}" clang "${lang[@]}" "${mac_flags[@]}" "${extra[@]}" "${gnustep[@]}" "$f" >"$log" 2>&1 || status=$?
  report "$status" "$f" "$log"
  compiled=$((compiled + 1))
done
if ((compiled == 0)); then
  echo "FAIL  no Objective-C++ source found: nothing was compiled"
  exit 1
fi
echo "compiled $compiled Objective-C++ files with: ${mac_flags[*]}"

if (($#)); then
  echo "macOS compile check: $((checked - failed)) of $checked files passed"
  exit $((failed > 0))
fi

# The compatibility header declares nothing that GNUstep declares itself.
status=0
python3 scripts/compat-declarations.py macos/compat/AppleOnly.h -- -x objective-c++ -std=c++20 \
  -fsyntax-only "${mac_flags[@]}" -fobjc-runtime=gnustep-2.0 -fblocks \
  -Imacos/compat/include -isystem /usr/include/GNUstep -idirafter "$gcc_include" >"$log" 2>&1 || status=$?
report "$status" "macos/compat/AppleOnly.h: $(tail -n 1 "$log" | sed 's/^[^:]*: //')" "$log"

mapfile -t plists < <(find macos -name '*.plist' -o -name '*.entitlements' | sort)
for f in "${plists[@]}"; do
  status=0
  { xmllint --noout --nonet "$f" && plistutil -i "$f" -o /dev/null; } >"$log" 2>&1 || status=$?
  report "$status" "$f" "$log"
done

mapfile -t documents < <(find macos -name '*.sdef' -o -name '*.xib' -o -name '*.svg' | sort)
for f in "${documents[@]}"; do
  status=0
  xmllint --noout --nonet "$f" >"$log" 2>&1 || status=$?
  report "$status" "$f" "$log"
done

echo "macOS compile check: $((checked - failed)) of $checked files passed"
[ "$failed" -eq 0 ]
