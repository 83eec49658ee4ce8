#!/usr/bin/env bash
# The tool's window read and used through AT-SPI, as assistive tools attach to it: a
# display (Xvfb with openbox), a D-Bus session with the accessibility bus, and
# tests/atspi/window_flows.py driving the real program against quorvel-sim.
# usage: scripts/atspi-test.sh VASKINTERFACE QUORVEL_SIM
# Needs xvfb, xauth, openbox, dbus, at-spi2-core and python3-pyatspi (scripts/test.sh
# installs them).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
tool=$(realpath "$1") sim=$(realpath "$2")
for program in Xvfb openbox dbus-run-session /usr/bin/python3; do
    command -v "$program" >/dev/null || { echo "atspi-test: $program is missing"; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "atspi-test: python3-pyatspi is missing"; exit 1; }
launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$candidate" ] && { launcher=$candidate; break; }
done
[ -n "$launcher" ] || { echo "atspi-test: at-spi-bus-launcher is missing"; exit 1; }

# A display number no other server holds (other suites and other users run beside this
# one): Xvfb picks it and says which once it is ready.
ready=$(mktemp -u)
mkfifo "$ready"
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
xvfb=$!
wm=
trap 'kill $wm $xvfb 2>/dev/null || true; rm -f "$ready"' EXIT
read -r number <"$ready" || { echo "atspi-test: Xvfb did not start"; exit 1; }
display=:$number
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
# The window must reach the display and the accessibility bus, whatever platform the
# caller's environment names (the suite's own tests run offscreen).
export QT_QPA_PLATFORM=xcb
export DISPLAY=$display XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
dbus-run-session -- bash -c '"$1" --launch-immediately >/dev/null 2>&1 & sleep 1
    exec /usr/bin/python3 "$2" "$3" "$4"' _ "$launcher" "$here/tests/atspi/window_flows.py" \
    "$tool" "$sim" 2> >(grep -v -e "Failed to set fd limit" -e "propagateSizeHints" -e "^QAccessibleTable" -e "^QAccessibleTree" -e "^QTextCursor::setPosition" -e "^Requested invalid tree cell" >&2)
