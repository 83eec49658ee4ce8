# Sourced by the Windows scripts: quorvel-sim (built for Linux) on a pseudo-terminal, and
# Wine's COM1 mapped to it in the registry of WINEPREFIX. Wine's mount manager makes COM1
# from the registry when the wine server starts, so the server is restarted after the change
# (a link in dosdevices/ alone is put back to /dev/ttyS0).
#   start_sim_on_com1 LINUX_BUILD SERIAL [quorvel-sim options]
#   stop_sim_on_com1          (also unmaps COM1)
sim_wine=/usr/lib/wine/wine64
export WINEDEBUG=${WINEDEBUG:--all}
sim_pid=
sim_work=

start_sim_on_com1() {
    local linux=$1 serial=$2
    shift 2
    if [ ! -x "$linux/sim/quorvel-sim" ]; then
        cmake -S . -B "$linux" -G Ninja -DQUORVEL_TESTS=OFF -DQUORVEL_BENCH=OFF >/dev/null
        cmake --build "$linux" --target quorvel-sim >/dev/null
    fi
    sim_work=$(mktemp -d)
    mkfifo "$sim_work/button"
    "$linux/sim/quorvel-sim" --serial "$serial" "$@" <"$sim_work/button" >"$sim_work/sim.out" \
        2>"$sim_work/sim.err" &
    sim_pid=$!
    exec 8>"$sim_work/button"  # the simulator's standard input stays open while it runs
    for _ in $(seq 50); do [ -s "$sim_work/sim.out" ] && break; sleep 0.1; done
    local pts
    pts=$(head -1 "$sim_work/sim.out")
    [ -n "$pts" ] || { echo "quorvel-sim did not start" >&2; return 1; }
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= "$sim_wine" wineboot -i >/dev/null 2>&1 || true
    fi
    "$sim_wine" reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$pts" /f >/dev/null
    /usr/lib/wine/wineserver -k || true
    /usr/lib/wine/wineserver -w
    echo "COM1 is $pts (quorvel-sim, serial number $serial)"
}

stop_sim_on_com1() {
    [ -n "$sim_pid" ] || return 0
    "$sim_wine" reg delete 'HKLM\Software\Wine\Ports' /v COM1 /f >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -k || true
    /usr/lib/wine/wineserver -w || true
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    exec 8>&-
    rm -rf "$sim_work"
    sim_pid=
}
