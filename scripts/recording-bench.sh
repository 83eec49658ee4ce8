#!/usr/bin/env bash
# Recorded runs at full size: makes this tool's CSV of 24 hours, 1 hour and 10 minutes at
# the line rate (192 records a second, the stretch column, two gaps after a lost line)
# in a folder of its own, opens each on the Recordings page offscreen and prints the
# figures beside their targets: time to the whole view, resident memory, redraw after a
# zoom or a pan. The files are written first, so they are read from the page cache, and
# removed at the end; none is kept in the repository.
#
#   scripts/recording-bench.sh [--build DIR] [--shots]
#     --build DIR   a build with the benchmarks (default build-bench, made when missing)
#     --shots       also retakes docs/screenshots/recording-*.png from the day's file
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-bench
shots=
while (($#)); do
    case $1 in
        --build) build=$2; shift 2 ;;
        --shots) shots=1; shift ;;
        -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
        *) echo "recording-bench.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
[ -n "$shots" ] && scripts/install-deps.sh poppler-utils
[ -d "$build" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target recording_bench >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen QT_QPA_OFFSCREEN_NO_GLX=1
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
bench="$build/bench/recording_bench"

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for run in "24 day" "1 hour" "0.16666667 10min"; do
    set -- $run
    "$bench" --make "$work/$2.csv" --hours "$1" --gaps 2
done
for run in day:3 hour:- 10min:0.05; do
    name=${run%%:*} target=${run##*:}
    echo "-- $name"
    "$bench" --open "$work/$name.csv" --redraws 200 | tee "$work/$name.out"
    opened=$(awk '/open to the whole view/ { print $6 }' "$work/$name.out")
    peak=$(awk '/resident memory/ { for (i = 1; i <= NF; ++i) if ($i == "peak") print $(i + 1) }' "$work/$name.out")
    slowest=$(awk '/and redraw/ { v = $(NF - 1) + 0; if (v > s) s = v } END { print s }' "$work/$name.out")
    if [ "$target" != - ]; then
        printf '  target open under %s s: %s (%s s)\n' "$target" \
            "$(awk -v o="$opened" -v t="$target" 'BEGIN { print (o < t ? "met" : "NOT met") }')" "$opened"
    fi
    [ "$name" = day ] && printf '  target resident memory under 250 MB: %s (peak %s kB)\n' \
        "$(awk -v p="$peak" 'BEGIN { print (p < 250 * 1024 ? "met" : "NOT met") }')" "$peak"
    printf '  target redraw under 30 ms: %s (slowest %s ms)\n' \
        "$(awk -v s="$slowest" 'BEGIN { print (s < 30 ? "met" : "NOT met") }')" "$slowest"
done
echo "-- quorvel summary of the day's file"
TIMEFORMAT='  %R s, CPU %U s user, %S s system'
time "$build/quorvel" summary "$work/day.csv" >/dev/null

if [ -n "$shots" ]; then
    "$bench" --shots "$work/shots" --file "$work/day.csv"
    pdftoppm -png -r 96 -singlefile "$work/shots/recording-export.pdf" "$work/shots/recording-export-pdf"
    cp "$work/shots/recording-day.png" "$work/shots/recording-gap-zoom.png" \
        "$work/shots/recording-export-pdf.png" docs/screenshots/
    echo "Pictures in docs/screenshots"
fi
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
