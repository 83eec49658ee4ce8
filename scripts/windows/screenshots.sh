#!/usr/bin/env bash
# Retakes the README's pictures of the Windows build: vaskinterface.exe under Wine on Xvfb
# with a window manager, quorvel-sim on Wine's COM1, driven from the keyboard: the main
# window after Connect, and the live page during a run.
# usage: scripts/windows/screenshots.sh [LINUX_BUILD]  (BUILD_DIR: the Windows build)
set -euo pipefail
cd "$(dirname "$0")/../.."
source=$(pwd)
scripts/install-deps.sh xvfb xauth openbox xdotool imagemagick
build=$(cd "${BUILD_DIR:-build-windows}" && pwd)
export WINEPREFIX=$build/wineprefix-screenshots
run="$source/scripts/windows/wine-run.sh"
out=docs/screenshots
. scripts/windows/sim-on-com1.sh

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x900x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
sleep 1
openbox >/dev/null 2>&1 &
wm=$!
tool=
cleanup() {
    [ -z "$tool" ] || kill "$tool" 2>/dev/null || true
    stop_sim_on_com1
    kill "$wm" "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

start_sim_on_com1 "${1:-build-linux-sim}" QV-0000012345
"$run" "$build/bin/vaskinterface.exe" >/dev/null 2>&1 &
tool=$!
window=$(xdotool search --sync --onlyvisible --name '^Quorvel$' | head -1)
sleep 3
shoot() { import -frame -window "$window" "$out/windows-$1.png"; }
key() { xdotool key --window "$window" "$@"; }
# The Tab presses reach the buttons in the panels' order of controls.
key alt+m; sleep 1; key Tab space; sleep 5; shoot main
key alt+l; sleep 1; key Tab Tab Tab Tab Tab Tab space; sleep 8; shoot live
key alt+q; sleep 2
echo "Pictures in $out/windows-main.png and $out/windows-live.png"
