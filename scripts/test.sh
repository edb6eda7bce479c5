#!/usr/bin/env bash
# Builds and runs every test under AddressSanitizer+UndefinedBehaviorSanitizer
# (clang; benchmarks and fuzz targets built in the same tree), the threaded
# tests under ThreadSanitizer (GCC), the macOS compile and deployment-target
# checks, format and lint over the whole tree, and a short run of each fuzz
# target. Warnings are errors here, and only here.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-15}
started=$SECONDS
stage() { echo "== $* (at $((SECONDS - started)) s)"; }

# A compilation that is the same as one of an earlier run, in this clone or
# another, comes from ccache.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
configure() { # dir, extra cmake arguments...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DROUTELLE_WERROR=ON "${launcher[@]}" "$@" >/dev/null
}

stage "build under AddressSanitizer + UndefinedBehaviorSanitizer (clang, fuzz targets and benchmarks included)"
configure build/ci-asan -DCMAKE_CXX_COMPILER=clang++ -DROUTELLE_SANITIZE=address,undefined -DROUTELLE_FUZZ=ON
cmake --build build/ci-asan -j"$jobs"

stage "fuzz targets started (${fuzz_seconds} s each, $jobs at a time, beside the next stages, at the lowest priority)"
fuzz() { # target: runs it, prints its last lines, fails with it
  local t=$1 corpus=build/ci-asan/corpus/$1 seeds=()
  mkdir -p "$corpus"
  [ -d "fuzz/corpus/$t" ] && seeds=("fuzz/corpus/$t")
  local out status=0
  out=$(build/ci-asan/fuzz/"$t" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=0 \
    "$corpus" "${seeds[@]}" 2>&1) || status=$?
  printf -- '-- %s\n%s\n' "$t" "$(tail -n 2 <<<"$out")"
  ((status == 0)) || { printf '%s\n' "$out" | tail -n 40; echo "fuzz: $t failed" >&2; }
  return "$status"
}
export -f fuzz
export fuzz_seconds
targets=$(cd fuzz && ls *.cpp | sed 's/\.cpp$//')
count=$(wc -w <<<"$targets")
((count > 0)) || { echo "fuzz: no target found" >&2; exit 1; }
# The fuzz smoke runs beside every stage below, at the lowest priority: it takes
# the cores that the tests leave idle (the desktop stage mostly waits on its
# display, the checks mostly on caches) and never slows them; its report comes
# at the end.
fuzz_log=build/ci-asan/fuzz-smoke.log
printf '%s\n' $targets | nice -n 19 xargs -P "$jobs" -I{} bash -c 'fuzz {}' >"$fuzz_log" 2>&1 &
fuzz_pid=$!

# One test more than cores: many of them wait on the driver processes they start.
stage "unit and end-to-end tests"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/ci-asan --output-on-failure -j"$((jobs + 1))" -LE desktop

# Qt and fontconfig keep caches to the end of the process: leaks are not looked for here.
stage "the desktop program under Xvfb (real xdg tools, tray, firefox-esr)"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/ci-asan --output-on-failure -L desktop

stage "macOS compile check"
bash scripts/check-macos.sh

stage "macOS deployment target (the core against the system's libc++)"
bash scripts/check-mac-target.sh

stage "format and lint (whole tree)"
bash scripts/lint.sh build/ci-asan

stage "ThreadSanitizer (threaded tests, GCC)"
configure build/ci-tsan -DROUTELLE_SANITIZE=thread -DROUTELLE_BENCH=OFF
cmake --build build/ci-tsan -j"$jobs" --target routelle routelle_threaded_tests
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build/ci-tsan --output-on-failure -L threaded -j"$jobs"

stage "fuzz targets"
fuzz_status=0
wait "$fuzz_pid" || fuzz_status=$?
cat "$fuzz_log"
((fuzz_status == 0)) || { echo "fuzz: a target failed" >&2; exit 1; }
echo "== all test stages passed: $count fuzz targets, in $((SECONDS - started)) s"
