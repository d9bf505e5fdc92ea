#!/usr/bin/env bash
# run-target.sh TARGET CORPUS SECONDS ARTIFACTS [NEW]: runs a fuzz target for
# a bounded time, starting from CORPUS, which it only reads, and prints how
# many inputs it ran. The inputs it finds go to NEW, or to a temporary folder
# removed afterwards. A fault's input is kept in ARTIFACTS; the run then
# fails with the report, and every later run replays the inputs kept there
# first, failing at once while any of them still fails.
set -euo pipefail
target=$1 corpus=$2 seconds=$3 artifacts=$4
name=$(basename "$target")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
new=${5:-$work/new}
mkdir -p "$new" "$artifacts"

kept=("$artifacts/$name"-*)
if [ -e "${kept[0]}" ]; then
    if ! "$target" -timeout=10 "${kept[@]}" >"$work/replay" 2>&1; then
        tail -n 60 "$work/replay"
        echo "$name: FAULT: an input kept from an earlier run still fails (${#kept[@]} kept in $artifacts)"
        exit 1
    fi
    echo "$name: ${#kept[@]} input(s) kept from earlier faults replayed without a fault"
fi

status=0
"$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$name-" "$new" "$corpus" 2>"$work/log" || status=$?

if [ "$status" -ne 0 ]; then
    tail -n 60 "$work/log"
    echo "$name: FAULT (exit $status); the input is in $artifacts"
    exit 1
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
echo "$name: $runs executions in $(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$work/log") s," \
    "$(ls "$corpus" | wc -l) corpus inputs, $(ls "$new" | wc -l) new"
grep -E '[[:space:]](INITED|DONE)[[:space:]]' "$work/log" || true
