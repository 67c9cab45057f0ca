#!/usr/bin/env bash
# Builds (optimised) and runs the power-cut stress run of a save: a power cut at every one of the
# 1024 page writes, each device then opened again. Optional arguments: first and last cut (0-1023).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh build-bench -DCMAKE_BUILD_TYPE=Release -DPAVISOR_BUILD_TESTS=OFF
build-bench/bench/stress_power_cut "$@"
