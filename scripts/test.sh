#!/usr/bin/env bash
# Builds and runs every test under AddressSanitizer+UndefinedBehaviorSanitizer
# (warnings are errors, benchmarks compiled too), the threaded tests under
# ThreadSanitizer, the macOS compile and deployment-target checks, the format and lint checks, and a
# short run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-15}

configure() { # dir, extra cmake arguments...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
}

echo "== build and test under AddressSanitizer + UndefinedBehaviorSanitizer"
configure build/ci-asan -DROUTELLE_SANITIZE=address,undefined -DROUTELLE_WERROR=ON
cmake --build build/ci-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/ci-asan --output-on-failure -j"$jobs"

echo "== macOS compile check"
bash scripts/check-macos.sh

echo "== macOS deployment target (the core against the system's libc++)"
bash scripts/check-mac-target.sh

echo "== format and lint (changed files)"
bash scripts/lint.sh build/ci-asan

echo "== ThreadSanitizer (threaded tests)"
configure build/ci-tsan -DROUTELLE_SANITIZE=thread -DROUTELLE_BENCH=OFF -DROUTELLE_WERROR=ON
cmake --build build/ci-tsan -j"$jobs" --target routelle routelle_threaded_tests
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build/ci-tsan --output-on-failure -L threaded -j"$jobs"

echo "== fuzz targets (${fuzz_seconds}s each)"
cmake -S . -B build/ci-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DROUTELLE_FUZZ=ON -DROUTELLE_BENCH=OFF -DROUTELLE_WERROR=ON >/dev/null
targets=$(cd fuzz && ls *.cpp | sed 's/\.cpp$//')
cmake --build build/ci-fuzz -j"$jobs" --target $targets
for t in $targets; do
  corpus=build/ci-fuzz/corpus/$t
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/corpus/$t" ] && seeds=("fuzz/corpus/$t")
  echo "-- $t"
  build/ci-fuzz/fuzz/$t -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=0 \
    "$corpus" "${seeds[@]}" 2>&1 | tail -n 2
  test "${PIPESTATUS[0]}" -eq 0
done
echo "All test stages passed."
