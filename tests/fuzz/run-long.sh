#!/usr/bin/env bash
# bash tests/fuzz/run-long.sh [SECONDS]: runs each fuzz target for SECONDS
# (600 when not given) from its corpus in tests/fuzz/corpus/, then merges
# into that corpus the inputs found that reach code it did not (-merge=1, by
# edges and not hit counts, which keeps the corpus small). Builds the fuzz
# tree in build/fuzz (or DOVREL_FUZZ_BUILD) when needed. New corpus files are
# a change like any other: look at them and commit them.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
top=$(readlink -f "$here/../..")
build=$(readlink -m "${DOVREL_FUZZ_BUILD:-$top/build/fuzz}")
seconds=${1:-600}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DDOVREL_FUZZ=ON >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target fuzz_port_records fuzz_placement >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in port_records placement; do
    target="$build/tests/fuzz/fuzz_$name"
    corpus="$here/corpus/$name"
    bash "$here/run-target.sh" "$target" "$corpus" "$seconds" "$build/tests/fuzz/fuzz-artifacts" "$work/$name"
    before=$(ls "$corpus" | wc -l)
    "$target" -merge=1 -use_counters=0 "$corpus" "$work/$name" 2>"$work/$name.merge"
    echo "fuzz_$name: corpus $before -> $(ls "$corpus" | wc -l) inputs"
done
