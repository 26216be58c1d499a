#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the GCC build with all tests
# (a throwaway MariaDB server is started and stopped by CTest), then the clang build with
# AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzz target for a bounded time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="$(nproc)"
fuzz_seconds="${KAVERO_FUZZ_SECONDS:-60}"

scripts/install-deps.sh

echo "== build (g++)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVERO_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
echo "== tests (g++)"
ctest --test-dir build --output-on-failure --no-tests=error -j "$jobs"

echo "== build (clang, sanitizers)"
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVERO_WERROR=ON \
  -DKAVERO_SANITIZE=ON -DKAVERO_FUZZ=ON -DKAVERO_BUILD_GUI=OFF -DKAVERO_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
echo "== tests (clang, sanitizers)"
# The server and Wine suites ran against the same code in the first pass; here the reader, the
# rules and the commands run under the sanitizers without a server. The package test needs the
# desktop program, so this build without Qt has none. The ODBC driver manager
# keeps caches until exit that LeakSanitizer would report.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure --no-tests=error -j "$jobs" -LE 'mariadb|wine'

shopt -s nullglob
for target in build-asan/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="build-asan/fuzz/corpus-$name"
  mkdir -p "$corpus"
  echo "== fuzz $name for ${fuzz_seconds}s"
  seeds=()
  [ -d "$root/../shared/testdata" ] && seeds+=("$root/../shared/testdata")
  ASAN_OPTIONS=detect_leaks=1 "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 "$corpus" "${seeds[@]}" 2>&1 | tail -n 12
done
echo "== all tests passed"
