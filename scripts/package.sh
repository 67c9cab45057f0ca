#!/usr/bin/env bash
# Builds the installable package in build-package/packages: a Debian package on Linux (checked with
# desktop-file-validate and appstreamcli first), a disk image with the signed-ready application
# bundle on macOS (set PAVISOR_CODESIGN_IDENTITY to sign it). Only the programs are built, not the
# tests or benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-package
options=(-DCMAKE_BUILD_TYPE=Release -DPAVISOR_BUILD_TESTS=OFF -DPAVISOR_BUILD_BENCH=OFF)
if [ "$(uname)" = Darwin ]; then
  options+=(-DCMAKE_PREFIX_PATH="$(brew --prefix qt)" -DCMAKE_OSX_DEPLOYMENT_TARGET=12.0
            -DPAVISOR_CODESIGN_IDENTITY="${PAVISOR_CODESIGN_IDENTITY:-}")
fi
cmake -S . -B "$dir" -G Ninja "${options[@]}"
cmake --build "$dir" --parallel "$(nproc 2>/dev/null || sysctl -n hw.ncpu)"
if [ "$(uname)" != Darwin ]; then
  desktop-file-validate packaging/linux/com.pavisor.KeyManager.desktop
  appstreamcli validate --no-net "$dir/packaging/com.pavisor.KeyManager.metainfo.xml"
fi
(cd "$dir" && cpack)
ls -1 "$dir"/packages/*.deb "$dir"/packages/*.dmg 2>/dev/null || true
