#!/usr/bin/env bash
# Builds and runs every test: first a normal build, then (with --sanitize, as CI does) a build
# with AddressSanitizer and UndefinedBehaviorSanitizer, and each libFuzzer target for 10 s.
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=0
[ "${1:-}" = "--sanitize" ] && sanitize=1

scripts/build.sh build
(cd build && ctest --output-on-failure --timeout 900)

if [ "$sanitize" = 1 ]; then
  scripts/build.sh build-sanitize -DPAVISOR_SANITIZE=ON -DPAVISOR_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  # Leak detection stays off: Qt's platform plugins and font caches keep allocations alive until
  # process exit, which LeakSanitizer reports as leaks that are not ours.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  (cd build-sanitize && ctest --output-on-failure --timeout 1800)
  # The fuzzers set their own sanitizer options.
  unset ASAN_OPTIONS UBSAN_OPTIONS
  scripts/run-fuzz.sh 10
fi
