#!/usr/bin/env bash
# Builds the fuzz targets and runs them for as long as asked, two at a time.
# Usage: fuzz.sh [SECONDS] [TARGET...]   (default 600 seconds, every target;
# TAMRIK_FUZZ_JOBS=1 runs one at a time, leaving a core free)
# Each target's corpus grows in build/fuzz-corpus/<target> from the seeds in
# tests/fuzz/corpus/<target>, which stay as they are; an input that breaks a
# property is saved in build/fuzz-findings/<target>/ and named at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAMRIK_BUILD:-$root/build}
seconds=${1:-600}
shift || true
parallel=${TAMRIK_FUZZ_JOBS:-2}

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j"$parallel" --target fuzz >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for seeds in "$root"/tests/fuzz/corpus/*/; do
        targets+=("$(basename "$seeds")")
    done
fi
for target in "${targets[@]}"; do
    if [ ! -x "$build/fuzz/fuzz-$target" ]; then
        echo "no fuzz target '$target'" >&2
        exit 2
    fi
done

logs=$build/fuzz-logs
mkdir -p "$logs"

run() {
    local target=$1
    local corpus=$build/fuzz-corpus/$target findings=$build/fuzz-findings/$target
    mkdir -p "$corpus" "$findings"
    local status=0
    # New inputs go into the first directory only; the seeds are read alone.
    "$build/fuzz/fuzz-$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings"/ \
        "$corpus" "$root/tests/fuzz/corpus/$target" >"$logs/$target.log" 2>&1 || status=$?
    echo "$status" >"$logs/$target.status"
}

echo "fuzzing ${targets[*]} for $seconds s each, $parallel at a time; logs in $logs"
running=0
for target in "${targets[@]}"; do
    rm -f "$logs/$target.status"
    if [ "$running" -ge "$parallel" ]; then
        wait -n || true
        running=$((running - 1))
    fi
    run "$target" &
    running=$((running + 1))
done
wait

failed=0
for target in "${targets[@]}"; do
    log=$logs/$target.log
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    corpus=$(find "$build/fuzz-corpus/$target" -type f | wc -l)
    status=$(cat "$logs/$target.status" 2>/dev/null || echo "?")
    if [ "$status" = 0 ]; then
        echo "$target: ${executions:-?} executions, corpus $corpus inputs, nothing found"
        continue
    fi
    failed=1
    echo "$target: ${executions:-?} executions, FOUND a failure (exit $status), see $log"
    sed -n 's/^.*Test unit written to /  saved: /p' "$log"
done
exit "$failed"
