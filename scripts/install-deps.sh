#!/usr/bin/env bash
# Installs everything needed to build, run, test and package on Debian 12. clang-14 builds the
# libFuzzer targets; their runtime (libclang-rt-14-dev) is only recommended by it, hence named.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev \
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n \
  libqt6svgwidgets6 libgl-dev \
  libssl-dev \
  python3 python3-cryptography \
  clang-14 libclang-rt-14-dev \
  xvfb xauth \
  dpkg-dev file desktop-file-utils appstream
