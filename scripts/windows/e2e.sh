#!/usr/bin/env bash
# The Windows build's end-to-end tests through a Windows COM port under Wine: quorvel-sim
# (built for Linux) serves a pseudo-terminal, Wine's COM1 is mapped to it, and
# com_port_e2e_tests.exe connects, identifies, writes and reads kx and the clock, and runs
# live over the tool's Windows serial line on "COM1"; then quorvel.exe, the command line,
# wakes the same instrument on COM1 and names it.
# usage: scripts/windows/e2e.sh [LINUX_BUILD]  (BUILD_DIR: the Windows build)
set -euo pipefail
cd "$(dirname "$0")/../.."
source=$(pwd)
build=$(cd "${BUILD_DIR:-build-windows}" && pwd)
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
run="$source/scripts/windows/wine-run.sh"
. scripts/windows/sim-on-com1.sh
trap stop_sim_on_com1 EXIT

serial=QV-WINE-000022
start_sim_on_com1 "${1:-build-linux-sim}" "$serial"
QT_QPA_PLATFORM=offscreen QUORVEL_E2E_SERIAL=$serial "$run" "$build/bin/com_port_e2e_tests.exe"
answer=$(WINEDEBUG=-all "$run" "$build/bin/quorvel.exe" --quiet --port COM1 identify | tr -d '\r')
[ "$answer" = "$serial" ] || { echo "quorvel.exe identify on COM1 said '$answer', not $serial" >&2; exit 1; }
echo "quorvel.exe identify on COM1: $answer"
