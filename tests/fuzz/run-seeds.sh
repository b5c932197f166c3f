#!/usr/bin/env bash
# Runs one fuzz target for a few seconds on a copy of its seed corpus, so the
# committed corpus is never written to. Usage: run-seeds.sh EXE CORPUS SECONDS
# FINDINGS; an input that fails is kept in FINDINGS and named.
set -euo pipefail
exe=$1 corpus=$2 seconds=$3 findings=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp -r "$corpus"/. "$work/corpus"/
mkdir -p "$findings"
status=0
"$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings"/ "$work/corpus" >"$work/log" 2>&1 || status=$?
grep -E '^(Done|stat::number_of_executed_units)' "$work/log" || true
if [ "$status" != 0 ]; then
    tail -n 40 "$work/log"
    for finding in "$findings"/*; do
        [ -e "$finding" ] && echo "finding: $finding"
    done
fi
exit "$status"
