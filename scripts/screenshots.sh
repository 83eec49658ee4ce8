#!/usr/bin/env bash
# Retakes the README's pictures of the main window: the simulated instrument on a
# pseudo-terminal, the tool under Xvfb with a window manager, driven from the keyboard.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh xvfb xauth openbox xdotool imagemagick
build=${BUILD_DIR:-build}
[ -d "$build" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target vaskinterface quorvel-sim

out=docs/screenshots
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() { kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x900x24 >/dev/null 2>&1 &
export DISPLAY=$display
sleep 1
openbox >/dev/null 2>&1 &
link="$work/com1"
(sleep 600 | "$build"/sim/quorvel-sim --link "$link" >/dev/null 2>&1) &
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
# A fresh settings folder: the window opens at its first-run size.
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QUORVEL_COM1="$link" "$build"/vaskinterface >/dev/null 2>&1 &
sleep 2

window=$(xdotool search --sync --onlyvisible --name '^Quorvel$' | head -1)
shoot() { import -frame -window "$window" "$out/window-$1.png"; }
key() { xdotool key --window "$window" "$@"; }
# The Tab presses reach the buttons in the panels' order of controls.
key alt+k; sleep 1; key Tab Tab Tab Tab Tab Tab space; sleep 2; shoot explained-error
key alt+m; sleep 1; key Tab space; sleep 4; shoot connected
key alt+k; sleep 1; key Tab Tab Tab Tab Tab Tab space; sleep 3; shoot kx-read
key alt+c; sleep 1; key Tab Tab Tab Tab Tab Tab Tab space; sleep 2; shoot clock-read
key alt+l; sleep 1; key Tab Tab Tab Tab Tab Tab space; sleep 6; shoot live
key alt+a; sleep 4; shoot calibration
key alt+h; sleep 2; shoot history
echo "Pictures in $out"
