#!/usr/bin/env bash
# The Windows build's end-to-end tests through a Windows COM port under Wine: quorvel-sim
# (built for Linux) serves a pseudo-terminal, Wine's COM1 is mapped to it, and
# com_port_e2e_tests.exe connects, identifies, writes and reads kx and the clock, and runs
# live over the tool's Windows serial line on "COM1"; then quorvel.exe, the command line,
# wakes the same instrument on COM1 and names it, and a second quorvel.exe is refused in
# words while a live run has COM1.
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

# One program per instrument: while a live run has COM1, a second quorvel.exe is refused in
# words with status 3, and the run goes on to its end.
live_err=$(mktemp)
"$run" "$build/bin/quorvel.exe" --port COM1 live --seconds 10 --csv - >/dev/null 2>"$live_err" &
live=$!
for _ in $(seq 300); do grep -q "Live records" "$live_err" && break; sleep 0.1; done
grep -q "Live records" "$live_err" || { echo "quorvel.exe live did not start on COM1" >&2; exit 1; }
status=0
refused=$("$run" "$build/bin/quorvel.exe" --port COM1 identify 2>&1 >/dev/null | tr -d '\r') ||
    status=$?
first="quorvel: COM1 cannot be opened: error code = -6"
why="The port cannot be opened: its device is in use by quorvel.exe \(process [0-9]+\)\. Wait for that program to end, or end it, then run the command again\."
if [ "$status" != 3 ] || [ "$(head -1 <<<"$refused")" != "$first" ] ||
    ! [[ "$(tail -n +2 <<<"$refused")" =~ ^$why$ ]]; then
    echo "a second quorvel.exe on COM1 ended with status $status and said: $refused" >&2
    exit 1
fi
wait "$live" || { echo "the live run on COM1 failed: $(cat "$live_err")" >&2; exit 1; }
rm -f "$live_err"
echo "quorvel.exe on COM1 while a live run has it: refused in words, status 3"
