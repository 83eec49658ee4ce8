#!/usr/bin/env bash
# Builds the benchmarks and runs them all against quorvel-sim in real time, printing figures:
#   1. every instrument action through the tool against a bare termios client;
#   2. the live run at 9600, 96000 and 960000 baud: records sent, received, lost, CPU;
#   3. start-up to the main panel, and resident memory through the 9600-baud live run.
# Nothing here passes or fails: the targets are shown next to the figures.
#
#   scripts/bench.sh [--minutes M] [--rounds N]
#     --minutes M   length of the 9600-baud live run that memory is sampled over (default 1;
#                   10 for the full run)
#     --rounds N    passes over the instrument actions (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=1
rounds=3
while (($#)); do
    case $1 in
        --minutes) minutes=$2; shift 2 ;;
        --rounds) rounds=$2; shift 2 ;;
        -h|--help) sed -n '2,11p' "$0"; exit 0 ;;
        *) echo "bench.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
seconds=$(awk -v m="$minutes" 'BEGIN { printf "%d", m * 60 }')

scripts/install-deps.sh
build=build-bench
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log/configure" 2>&1 ||
    { cat "$log/configure"; exit 1; }
cmake --build "$build" -j "$(nproc)" --target benchmarks >"$log/build" 2>&1 ||
    { cat "$log/build"; exit 1; }
export QT_QPA_PLATFORM=offscreen QT_QPA_OFFSCREEN_NO_GLX=1
bench() { "$build/bench/$1" "${@:2}"; }
load() { cut -d' ' -f1-3 /proc/loadavg; }

started=$(date +%s)
echo "Quorvel benchmarks, $(date '+%Y-%m-%d %H:%M'), commit $(git rev-parse --short HEAD 2>/dev/null || echo '?')"
echo "machine: $(nproc) cores, load average $(load) (other work on the machine slows every figure)"
echo

echo "== 1. Instrument actions (target: ratio at most 1.05) =="
bench action_bench --rounds "$rounds" | tee "$log/actions"
echo

echo "== 2. Live run (targets: nothing lost at any rate; under 5% of one core at 9600 baud) =="
echo "-- 9600 baud, ${minutes} min, resident memory sampled every 5 s"
bench live_bench --baud 9600 --seconds "$seconds" --rss-every 5 | tee "$log/live9600"
for baud in 96000 960000; do
    echo "-- $baud baud, 10 s"
    bench live_bench --baud "$baud" --seconds 10 | tee "$log/live$baud"
done
echo

echo "== 3. Start-up =="
bench startup_bench --runs 5
echo

echo "== Targets =="
target() { printf '%-36s %s\n' "$1" "$2"; }
ratio=$(awk '/^largest ratio:/ { print $3 }' "$log/actions")
target "action time ratio at most 1.05:" \
    "$(awk -v r="$ratio" 'BEGIN { print ((r != "" && r <= 1.05) ? "met" : "NOT met") }') (largest $ratio)"
for baud in 9600 96000 960000; do
    lost=$(awk '/^  lost:/ { print $2 }' "$log/live$baud")
    behind=$(awk -F'[(,]' '/still on the line at stop/ { gsub(/[)]/, "", $3); print $3 }' \
        "$log/live$baud" | xargs)
    lag=$(awk -v b="${behind%% *}" 'BEGIN { if (b > 1) print ": the tool does not keep up" }')
    target "nothing lost at $baud baud:" \
        "$([ "$lost" = 0 ] && echo met || echo 'NOT met') (lost $lost; $behind when stopped$lag)"
done
share=$(awk '/CPU while streaming/ { gsub("%", "", $7); print $7 }' "$log/live9600")
target "CPU under 5% of one core at 9600:" \
    "$(awk -v s="$share" 'BEGIN { print ((s != "" && s < 5) ? "met" : "NOT met") }') ($share%)"
target "resident memory:" "$(awk -F': ' '/verdict/ { print $2 }' "$log/live9600")"
echo "load average at the end: $(load); whole run $(($(date +%s) - started)) s"
