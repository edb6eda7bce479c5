#!/usr/bin/env bash
# Compiles the portable core and the POSIX code that the Mac adapters share for the
# Mac itself (syntax only: nothing links): clang's Apple target at the deployment
# target, against libc++'s headers with the availability markings of the system's
# libc++, so that a standard-library feature the oldest supported macOS lacks
# (std::filesystem below 10.15, std::get and std::visit on a variant below 10.13...)
# fails here as it would in the Mac build. glibc stands in for Apple's C library;
# macos/compat/darwin-libc bridges the two. Prints one line per failing file.
# With file arguments, checks only those.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

minimum=$(cmake -P cmake/MacTarget.cmake 2>&1)
multiarch=$(gcc -print-multiarch)
# Darwin's clang predefines __nonnull as a nullability keyword; glibc's headers use
# the name for their own attribute macro.
flags=(-target "x86_64-apple-macosx$minimum" -std=c++20 -nostdinc++
  -isystem macos/compat/darwin-libc -isystem /usr/include/c++/v1 -idirafter "/usr/include/$multiarch"
  -D_GNU_SOURCE -U__nonnull)
# The core's own third-party headers (libxml2 is part of macOS).
includes=(-Isrc -isystem /usr/include/libxml2)

if (($#)); then
  sources=("$@")
else
  # Everything the Mac program builds from src/: all but the host world's and the Linux desktop's adapters
  # and the Objective-C++ ones (checked by scripts/check-macos.sh).
  mapfile -t sources < <(find src -name '*.cpp' -not -path 'src/platform/host/*' -not -path 'src/platform/linux/*' | sort)
fi
if ((${#sources[@]} == 0)); then
  echo "FAIL  no source found: nothing was compiled for macOS $minimum"
  exit 1
fi

# The standard headers, parsed once for every file. They are kept outside the
# tree, at a place that is the same for every clone, so that a file checked
# before with the same inputs comes from ccache, in this clone or another.
work=$(mktemp -d)
trap 'rm -rf "$work" "${fresh:-}"' EXIT
pch_dir=${XDG_CACHE_HOME:-$HOME/.cache}/routelle-mac-target
mkdir -p "$pch_dir"
printf '#include <%s>\n' algorithm array atomic chrono cstdint cstring deque functional map memory mutex \
  optional sstream string string_view unordered_map utility variant vector >"$work/std.h"
cmp -s "$work/std.h" "$pch_dir/std.h" || mv "$work/std.h" "$pch_dir/std.h"
# Built beside where it is kept (clang records the folder in it), without the
# headers' times (a fresh clone gives them new ones), and moved there only when it changed.
fresh=$(mktemp -p "$pch_dir" std.XXXXXX.pch)
clang++ "${flags[@]}" -Xclang -fno-pch-timestamp -x c++-header "$pch_dir/std.h" -o "$fresh"
if cmp -s "$fresh" "$pch_dir/std.pch"; then rm -f "$fresh"; else mv "$fresh" "$pch_dir/std.pch"; fi
launcher=
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1 CCACHE_SLOPPINESS=pch_defines,time_macros
  launcher=ccache
fi

export work launcher pch_dir
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -I{} sh -c '
  $launcher clang++ "$@" -fsyntax-only -include-pch "$pch_dir/std.pch" {} >"$work/$(echo {} | tr / _).log" 2>&1 ||
    { echo "FAIL  {}"; sed "s/^/      /" "$work/$(echo {} | tr / _).log"; exit 1; }' sh "${flags[@]}" "${includes[@]}" ||
  { echo "macOS $minimum target check: failed (see above)"; exit 1; }
echo "macOS $minimum target check: ${#sources[@]} files compiled against the system's libc++"
