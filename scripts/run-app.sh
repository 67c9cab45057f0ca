#!/usr/bin/env bash
# Builds and starts the application from its bundle-shaped output folder.
#
# Unless --no-demo is given, a simulated Pavisor holding demo records is plugged in first, so that
# "Open Pavisor" has a device to open; its master password is printed here. The simulated device
# is unplugged when the application quits. When a real Pavisor is connected, no demo device is
# made. Every other argument goes to the application.
set -euo pipefail
cd "$(dirname "$0")/.."

isDemo=1
arguments=()
for argument in "$@"; do
  if [ "$argument" = "--no-demo" ]; then isDemo=0; else arguments+=("$argument"); fi
done

# Only what this script starts: the application, its help viewer, the simulator and the demo tool
# (the tests and benchmarks are built by scripts/run-tests.sh and scripts/run-benchmarks.sh).
cmake -S . -B build -G Ninja
cmake --build build --parallel "$(nproc)" --target PavisorKeyManager Help_Viewer pavisor_simulator pavisor_demo_device
application="build/Pavisor Key Manager.app/Contents/MacOS/Pavisor Key Manager"
if [ "$isDemo" = 0 ]; then
  exec "$application" ${arguments[@]+"${arguments[@]}"}
fi

demoPassword="demo-pavisor"
work="$(mktemp -d "${TMPDIR:-/tmp}/pavisor-demo.XXXXXX")"
simulator=""
cleanUp() {
  if [ -n "$simulator" ]; then
    kill "$simulator" 2>/dev/null || true
    wait "$simulator" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanUp EXIT
trap 'exit 130' INT TERM

status=0
build/tools/demo/pavisor_demo_device --state "$work/state" --password "$demoPassword" || status=$?
if [ "$status" = 3 ]; then
  echo "A Pavisor is connected: starting without the demo device."
  "$application" ${arguments[@]+"${arguments[@]}"}
  exit
elif [ "$status" != 0 ]; then
  exit "$status"
fi

export PAVISOR_SIMULATOR_DIR="$work/devices"
mkdir -p "$PAVISOR_SIMULATOR_DIR"
build/tools/simulator/pavisor_simulator --state "$work/state" --name "Demo Pavisor" --exit-with-parent >/dev/null &
simulator=$!
for _ in $(seq 100); do
  [ -n "$(ls -A "$PAVISOR_SIMULATOR_DIR")" ] && break
  sleep 0.1
done
if [ -z "$(ls -A "$PAVISOR_SIMULATOR_DIR")" ]; then
  echo "The demo device did not start." >&2
  exit 1
fi

cat <<EOF
A demo Pavisor is plugged in (a simulated device, gone when the application quits).
Choose "Open Pavisor" and type its master password: $demoPassword
EOF
"$application" ${arguments[@]+"${arguments[@]}"}
