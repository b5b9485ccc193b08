#!/usr/bin/env bash
# Runs zarn against the simulated car: the simulator plays a drive (and takes keys
# from this terminal), zarn's status lines are shown as they are written.
# Ctrl-C (or q) ends both.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target zarn zarn-carsim

home="${ZARN_DEMO_HOME:-/tmp/zarn-demo}"
mkdir -p "$home"

# zarn starts once the simulator has made the demo home and the link to its port.
(
  for _ in $(seq 100); do [ -e "$home/ttyCAR" ] && break; sleep 0.1; done
  ZARN_HOME="$home" ZARN_STATUS_LOG=stderr QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" \
    exec build/zarn /TRACE
) &
zarn_pid=$!
trap 'kill "$zarn_pid" 2>/dev/null || true; wait "$zarn_pid" 2>/dev/null || true' EXIT

build/zarn-carsim --prepare-home "$home" --link "$home/ttyCAR" \
  --scenario tools/carsim/scenarios/demo.scn --echo "$@"
