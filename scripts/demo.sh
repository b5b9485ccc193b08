#!/usr/bin/env bash
# Runs zarn against the simulated car: the simulator plays a drive and takes keys
# from this terminal (its knob moves the focus in zarn's window); zarn's status lines
# are shown as they are written. Without a display the window runs on a virtual one
# (Xvfb). Ctrl-C (or q) ends both.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target zarn zarn-carsim

home="${ZARN_DEMO_HOME:-/tmp/zarn-demo}"
mkdir -p "$home"

pids=()
cleanup() {
  # zarn first, so that it saves its settings while its display still exists.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  export DISPLAY=":$((90 + RANDOM % 100))"
  Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
fi

# zarn starts once the simulator has made the demo home and the link to its port.
(
  for _ in $(seq 100); do [ -e "$home/ttyCAR" ] && break; sleep 0.1; done
  ZARN_HOME="$home" ZARN_STATUS_LOG=stderr exec build/zarn /TRACE
) &
pids+=($!)

build/zarn-carsim --prepare-home "$home" --link "$home/ttyCAR" \
  --scenario tools/carsim/scenarios/demo.scn --echo "$@"
