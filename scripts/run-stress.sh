#!/usr/bin/env bash
# Builds (optimised) and runs the power-cut stress run of the main window's saves: a single cut at
# every page write of a save, then a second cut at every page write of the save retried after a cut
# backup write, each device opened again through the window. Arguments go to stress_power_cut:
# [--scenario single|second] [--second-cut-step N] [FIRST_CUT [LAST_CUT]].
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh build-bench -DCMAKE_BUILD_TYPE=Release -DPAVISOR_BUILD_TESTS=OFF
build-bench/bench/stress_power_cut "$@"
