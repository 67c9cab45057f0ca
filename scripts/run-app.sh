#!/usr/bin/env bash
# Builds and starts the application from its bundle-shaped output folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh build
exec "build/Pavisor Key Manager.app/Contents/MacOS/Pavisor Key Manager" "$@"
