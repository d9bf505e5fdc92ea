#!/usr/bin/env bash
# bash bench/run.sh: builds the 32-bit tree when needed (build/win32, or
# DOVREL_BENCH_BUILD), starts its own Wine session and prints the tables of
# both measures: the refresh on prepared ports beside the floor, with peak
# memory, and the start of Dovrel.exe against the real spooler.
# DOVREL_BENCH_PARTS (default "refresh,start") picks the measures: "start"
# alone skips the refresh and its memory.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
top=$(readlink -f "$here/..")
build=$(readlink -m "${DOVREL_BENCH_BUILD:-$top/build/win32}")
state="$build/bench-wine"
run="$top/tests/wine/wine-run.sh"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchains/i686-w64-mingw32.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
parts=",${DOVREL_BENCH_PARTS:-refresh,start},"
cmake --build "$build" -j"$(nproc)" --target refresh_bench floor dressed_floor limit Dovrel e2e_driver >/dev/null

bash "$top/tests/wine/session.sh" start "$state" >/dev/null
trap 'bash "$top/tests/wine/session.sh" stop "$state" >/dev/null' EXIT

echo "## Machine"
echo
echo "- $(nproc) CPUs, $(lscpu | sed -n 's/^Model name: *//p')"
echo "- load at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
if [[ $parts == *,refresh,* ]]; then
    echo "## Refresh on prepared ports (medians)"
    echo
    "$run" "$state" "$build/bench/refresh_bench.exe" time "${DOVREL_BENCH_SIZES:-1000,10000,50000,100000}" \
        "${DOVREL_BENCH_RUNS:-5,5,3,3}" </dev/null
    echo
    echo "## Peak memory, one process per side"
    echo
    echo "| side | ports | peak working set (MB) | peak pagefile (MB) | working set before (MB) | pagefile before (MB) | refresh (ms) |"
    echo "|---|---:|---:|---:|---:|---:|---:|"
    memory=$(for size in 10000 100000; do
        for side in floor program; do
            "$run" "$state" "$build/bench/refresh_bench.exe" memory "$side" "$size" </dev/null
        done
    done)
    echo "$memory"
    echo
    awk -F'|' '$3 + 0 == 100000 { ws[$2] = $4; pf[$2] = $5; ws0[$2] = $6; pf0[$2] = $7 }
        END {
            f = " floor "; p = " program "
            printf "- at 100,000, program / floor: peak working set %.2f, peak pagefile %.2f (target <= 1.5: %s)\n",
                ws[p] / ws[f], pf[p] / pf[f], (ws[p] / ws[f] <= 1.5 && pf[p] / pf[f] <= 1.5) ? "met" : "MISSED"
            printf "- growth during the refresh, program / floor: working set %.2f, pagefile %.2f\n",
                (ws[p] - ws0[p]) / (ws[f] - ws0[f]), (pf[p] - pf0[p]) / (pf[f] - pf0[f])
        }' <<<"$memory"
    echo
fi
if [[ $parts == *,start,* ]]; then
    echo "## Start against the real spooler (medians, from outside)"
    echo
    bash "$here/e2e.sh" "$state" "$build" "${DOVREL_BENCH_E2E_RUNS:-5}"
    echo
fi
echo "- load at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
