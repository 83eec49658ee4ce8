#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated instrument on a pseudo-terminal
# and opens the tool with COM1 pointing at it. Without a display it runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

extra=()
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || extra=(xvfb xauth)
scripts/install-deps.sh "${extra[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target vaskinterface quorvel-sim

link="${TMPDIR:-/tmp}/quorvel-com1"
# Explicit stdin: the simulator reads button presses from this terminal.
build/sim/quorvel-sim --link "$link" "$@" <&0 &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done

export QUORVEL_COM1="$link"
echo "Simulated Quorvel on $link (COM1). Press Enter in this terminal to press its button."
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    build/vaskinterface
else
    xvfb-run -a -s "-screen 0 1280x800x24" build/vaskinterface
fi
