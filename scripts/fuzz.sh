#!/usr/bin/env bash
# Fuzzes the tool's parsers with libFuzzer.
#
#   scripts/fuzz.sh [seconds] [target...]
#
# Installs clang and its run-time libraries when missing, configures build-fuzz with clang
# and QUORVEL_FUZZ=ON (every library built with coverage, ASan and UBSan), builds the fuzz
# targets and runs them side by side for `seconds` each (default 60). Targets: the ones
# named, else fuzz_block_text, fuzz_live_record, fuzz_history_line, fuzz_settings_file and
# fuzz_resource_file.
#
# Seeds come from fuzz/corpus/<target> (committed, left untouched), words from
# fuzz/<target>.dict when there is one; what a run learns goes to build-fuzz/corpus/<target>,
# so the next run starts from there. Crashes, time-outs and leaks are written to
# build-fuzz/artifacts/<target>/, logs to build-fuzz/logs/<target>.log.
# Replay one with: build-fuzz/fuzz/<target> build-fuzz/artifacts/<target>/crash-...
# The exit status is non-zero when any target found something.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
seconds="${1:-60}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(fuzz_block_text fuzz_live_record fuzz_history_line fuzz_settings_file fuzz_resource_file)

# clang first, then the run-time (libFuzzer, sanitizers) of the version it turned out to be.
"$root/scripts/install-deps.sh" clang
major="$(clang -dumpversion | cut -d. -f1)"
"$root/scripts/install-deps.sh" "libclang-rt-$major-dev"

# -O1 -g without NDEBUG: asserts stay on and stack traces stay readable.
cmake -S "$root" -B "$build" -G Ninja -DQUORVEL_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" >/dev/null
ninja -C "$build" "${targets[@]}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
mkdir -p "$build/logs"
pids=()
for t in "${targets[@]}"; do
    mkdir -p "$build/corpus/$t" "$build/artifacts/$t"
    # The tool's own resource file is the richest seed there is; it stays in ui/.
    if [ "$t" = fuzz_resource_file ] && [ ! -e "$build/corpus/$t/VASKInterface.uir" ]; then
        cp "$root/ui/VASKInterface.uir" "$build/corpus/$t/"
    fi
    dict=()
    [ ! -f "$root/fuzz/$t.dict" ] || dict=(-dict="$root/fuzz/$t.dict")
    echo "fuzzing $t for ${seconds}s (log: $build/logs/$t.log)"
    "$build/fuzz/$t" "$build/corpus/$t" "$root/fuzz/corpus/$t" "${dict[@]}" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$t/" >"$build/logs/$t.log" 2>&1 &
    pids+=($!)
done

failed=0
for i in "${!targets[@]}"; do
    t="${targets[$i]}"
    if wait "${pids[$i]}"; then
        status=ok
    else
        status="FOUND SOMETHING (see $build/artifacts/$t/)"
        failed=1
    fi
    runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/logs/$t.log" | grep -o '[0-9]*$' || true)"
    cov="$(grep -o 'cov: [0-9]*' "$build/logs/$t.log" | tail -1 || true)"
    echo "$t: $status; executions ${runs:-?}, ${cov:-cov: ?}"
done
exit "$failed"
