#!/usr/bin/env bash
# Builds (optimised) and runs every benchmark; each prints "name: value unit" lines.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh build-bench -DCMAKE_BUILD_TYPE=Release -DPAVISOR_BUILD_TESTS=OFF
for bench in build-bench/bench/bench_*; do
  [ -f "$bench" ] && [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  QT_QPA_PLATFORM=offscreen "$bench"
done
