#!/usr/bin/env bash
# Format and lint checks over the C++ files changed since the last whole-tree
# lint, whose commit .ci/lint-base records (LINT_BASE overrides it); without a
# record, the files of the two days before HEAD. After a clean run over every
# file (LINT_BASE=$(git rev-list --max-parents=0 HEAD)), record HEAD there.
# clang-tidy needs a build directory with compile_commands.json (argument 1).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci-asan}

if [ -n "${LINT_BASE:-}" ]; then
  base=$LINT_BASE
elif [ -s .ci/lint-base ] && git cat-file -e "$(cat .ci/lint-base)^{commit}" 2>/dev/null; then
  base=$(cat .ci/lint-base)
else
  head_time=$(git log -1 --format=%ct HEAD)
  base=$(git rev-list -1 --before=$((head_time - 172800)) HEAD || true)
  [ -n "$base" ] || base=$(git rev-list --max-parents=0 HEAD | tail -n 1)
fi
mapfile -t changed < <(git diff --name-only "$base" HEAD -- '*.cpp' '*.h' | while read -r f; do [ -f "$f" ] && echo "$f"; done)
echo "-- ${#changed[@]} changed C++ files since $(git rev-parse --short "$base")"
((${#changed[@]})) || exit 0

echo "-- clang-format"
clang-format --dry-run -Werror "${changed[@]}"

# The program's own sources; tests and fuzz targets are held to the compiler's warnings only.
mapfile -t sources < <(printf '%s\n' "${changed[@]}" | grep -E '^(src|world|driver)/.*\.cpp$' || true)
echo "-- clang-tidy over ${#sources[@]} files"
((${#sources[@]})) || exit 0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet >"$log" 2>&1 || status=$?
grep -vE '^[0-9]+ warnings? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^$' "$log" || true
exit "$status"
