#!/usr/bin/env bash
# Format and lint checks over the whole tree: clang-format over every C++ file
# of the repository, clang-tidy over the program's own sources (src, world,
# driver, linux: those the compile database of the build directory, argument 1,
# compiles; the desktop program's with Qt's and GIO's paths when it was
# configured with ROUTELLE_DESKTOP), LINT_JOBS (default: the number of cores) files at a time; a file
# that passed before and whose text, headers and command are unchanged since is
# not checked again (scripts/tidy.py). Each step says how many files it checked
# and fails if that is none.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci-asan}
jobs=${LINT_JOBS:-$(nproc)}

mapfile -t cxx < <(git ls-files -- '*.cpp' '*.h' '*.mm')
echo "-- clang-format over ${#cxx[@]} files"
if ((${#cxx[@]} == 0)); then
  echo "lint: no C++ file found to format-check" >&2
  exit 1
fi
clang-format --dry-run -Werror "${cxx[@]}"

database=$build/compile_commands.json
if [ ! -s "$database" ]; then
  echo "lint: $database is missing (configure $build first)" >&2
  exit 1
fi
# The program's own sources that this platform compiles; tests and fuzz targets
# are held to the compiler's warnings only.
mapfile -t sources < <(git ls-files -- 'src/*.cpp' 'world/*.cpp' 'driver/*.cpp' 'linux/*.cpp' |
  while read -r f; do grep -qF "\"$PWD/$f\"" "$database" && echo "$f"; done)
if ((${#sources[@]} == 0)); then
  echo "lint: no source of $database to check" >&2
  exit 1
fi
start=$SECONDS
python3 scripts/tidy.py "$build" "$jobs" "${sources[@]}"
echo "-- clang-tidy took $((SECONDS - start)) s"
