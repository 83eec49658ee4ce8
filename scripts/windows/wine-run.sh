#!/usr/bin/env bash
# Runs a Windows program of the build under Wine: in the build's own Wine prefix (made on
# first use, without the Mono and Gecko installers), with Wine's own messages off.
# usage: scripts/windows/wine-run.sh BUILD/bin/PROGRAM.exe [arguments]
# WINEPREFIX, when set, names another prefix (made likewise).
set -euo pipefail
program=$1
shift
build=$(cd "$(dirname "$program")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
mkdir -p "$WINEPREFIX"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=/usr/lib/wine/wine64
# Two programs started at once must not both make the prefix.
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$wine" wineboot -i >/dev/null 2>&1 || true
        /usr/lib/wine/wineserver -w
    fi
) 9>"$WINEPREFIX.lock"
exec "$wine" "$program" "$@"
