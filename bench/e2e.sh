#!/usr/bin/env bash
# e2e.sh STATE BUILD [RUNS]: Dovrel.exe beside floor.exe and limit.exe,
# started under Wine against the real spooler seeded with 1,000 and 10,000
# ports and timed from outside: from the start to the visible window "Ports"
# and to the list holding every port; then the peak working set of the
# process. After a warm-up start of each, RUNS rounds of one start of each
# program; Dovrel starts in the middle of its round, so that each of its
# starts is paired with the two starts beside it. Ratios are medians of the
# per-round ratios. The spooler's ports are put back afterwards.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
state=$(readlink -m "$1")
build=$(readlink -m "$2")
runs=${3:-5}
run="$here/../tests/wine/wine-run.sh"
driver="$build/tests/e2e/e2e_driver.exe"
tmp=$(mktemp -d)

# The programs as the release package ships them, stripped: Wine reads a
# MinGW program's sections into memory whole (their file alignment is below
# a page), debug information included, which would add megabytes of working
# set and the time to read them that Windows never spends.
strip=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "$build/CMakeCache.txt")
mkdir "$tmp/bin"
for program in "$build/app/Dovrel.exe" "$build/bench/floor.exe" "$build/bench/limit.exe"; do
    "${strip:-strip}" -o "$tmp/bin/${program##*/}" "$program"
done
dovrel="$tmp/bin/Dovrel.exe"
floor="$tmp/bin/floor.exe"
limit="$tmp/bin/limit.exe"

drv() { "$run" "$state" "$driver" "$@" </dev/null; }

# One "NAME"="" line per port after dropping the key; names as the port
# names of the other measure, mixed case.
import_ports() {
    local file="$tmp/ports.reg"
    {
        printf 'REGEDIT4\r\n\r\n'
        printf '[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports]\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports]\r\n'
        sed 's/\\/\\\\/g; s/"/\\"/g; s/.*/"&"=""\r/' "$1"
    } >"$file"
    "$run" "$state" regedit /S "Z:${file//\//\\}" </dev/null >/dev/null 2>&1
}

make_names() {
    awk -v n="$1" 'BEGIN {
        srand(n)
        for (i = 0; i < n; i++) {
            k = i % 4
            if (k == 0) s = "lpt" i ":"
            else if (k == 1) s = sprintf("ne%02d:", i)
            else if (k == 2) s = "\\\\server" (i % 97) "\\printer" i
            else s = "c:\\out\\file" i ".prn"
            t = ""
            for (j = 1; j <= length(s); j++) {
                c = substr(s, j, 1)
                t = t (rand() < 0.5 ? toupper(c) : c)
            }
            print t
        }
    }'
}

drv spooler-ports | cut -f1 >"$tmp/before.txt"
[ -s "$tmp/before.txt" ] || { echo "the spooler reports no ports to put back" >&2; exit 1; }
restore() {
    import_ports "$tmp/before.txt" || echo "could not put the ports back" >&2
    rm -rf "$tmp"
}
trap restore EXIT

ms() { date +%s%3N; }

# Starts the program, the two waits already running; prints "WINDOW ROWS
# PEAK": ms to the visible window and to every row, the peak working set in KB.
measure() {
    local exe=$1 count=$2 start pid peak
    drv wait-gone Ports 10000 >/dev/null
    drv reset-placement >/dev/null
    rm -f "$tmp/window" "$tmp/rows"
    # Each wait says when it saw its moment, polling every few milliseconds.
    (drv wait-window Ports 120000 | sed -n 's/^seen-at: //p' >"$tmp/window") &
    local waitWindow=$!
    (drv wait-rows "$count" 300000 | sed -n 's/^seen-at: //p' >"$tmp/rows") &
    local waitRows=$!
    sleep 2  # both waits are polling by now
    start=$(ms)
    "$run" "$state" "$exe" </dev/null >/dev/null 2>&1 &
    pid=$!
    wait "$waitWindow" "$waitRows" || true
    peak=$(drv process-figures | sed -n 's/^peak-working-set: //p')
    drv close-window Ports >/dev/null || true
    wait "$pid" || true
    [ -s "$tmp/window" ] && [ -s "$tmp/rows" ] && [ -n "$peak" ] ||
        { echo "no window, not all $count rows or no figures: ${exe##*/}" >&2; return 1; }
    echo "$(($(cat "$tmp/window") - start)) $(($(cat "$tmp/rows") - start)) $((peak / 1024))"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# column N of FILE: the values of one measure, one start per line
column() { cut -d' ' -f"$1" "$2"; }

# median of the per-round ratios of column N of FILE A to column M of FILE B
ratio() { paste -d' ' <(column "$2" "$1") <(column "$4" "$3") | awk '{ printf "%.4f\n", $1 / $2 }' | median; }

verdict() { awk -v r="$1" -v goal="$2" 'BEGIN { print (r <= goal) ? "met" : "MISSED" }'; }

load() { cut -d' ' -f1-3 /proc/loadavg | tr ' ' ','; }

results="$tmp/results.txt"
: >"$results"
for count in 1000 10000; do
    make_names "$count" >"$tmp/names.txt"
    import_ports "$tmp/names.txt"
    seen=$(drv spooler-ports | wc -l)
    [ "$seen" -eq "$count" ] || { echo "the spooler reports $seen ports after seeding $count" >&2; exit 1; }
    loadBefore=$(load)
    for exe in "$limit" "$floor" "$dovrel"; do
        measure "$exe" "$count" >/dev/null  # warm-up
    done
    : >"$tmp/limit.txt"
    : >"$tmp/floor.txt"
    : >"$tmp/dovrel.txt"
    for round in $(seq "$runs"); do
        if [ $((round % 2)) -eq 1 ]; then first=limit last=floor; else first=floor last=limit; fi
        measure "${!first}" "$count" >>"$tmp/$first.txt"
        measure "$dovrel" "$count" >>"$tmp/dovrel.txt"
        measure "${!last}" "$count" >>"$tmp/$last.txt"
    done
    echo "$count $runs $loadBefore|$(load)" \
        "$(column 1 "$tmp/limit.txt" | median) $(column 1 "$tmp/dovrel.txt" | median)" \
        "$(ratio "$tmp/dovrel.txt" 1 "$tmp/limit.txt" 1)" \
        "$(column 2 "$tmp/floor.txt" | median) $(column 2 "$tmp/limit.txt" | median)" \
        "$(column 2 "$tmp/dovrel.txt" | median)" \
        "$(ratio "$tmp/dovrel.txt" 2 "$tmp/floor.txt" 2) $(ratio "$tmp/dovrel.txt" 2 "$tmp/limit.txt" 2)" \
        "$(column 3 "$tmp/floor.txt" | median) $(column 3 "$tmp/limit.txt" | median)" \
        "$(column 3 "$tmp/dovrel.txt" | median) $(ratio "$tmp/dovrel.txt" 3 "$tmp/floor.txt" 3)" >>"$results"
done

# One line per port count: count, runs, load before|after, window (limit,
# Dovrel, ratio), filled (floor, limit, Dovrel, two ratios), peak working
# set (floor, limit, Dovrel, ratio).
echo "Times in ms from the start, medians; ratios are medians of per-round ratios."
echo
echo "| ports | runs | load before / after | window: bare (limit) | window: Dovrel | window: Dovrel / bare |" \
    "filled: floor | filled: limit | filled: Dovrel | filled: Dovrel / floor | filled: Dovrel / limit |"
echo "|---:|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|"
while read -r count n loads lw dw wr ff lf df rf rl fm lm dm mr; do
    printf '| %s | %s | %s | %s | %s | %.2f | %s | %s | %s | %.2f | %.2f |\n' "$count" "$n" "$(sed 's/,/ /g; s/|/ \/ /' <<<"$loads")" \
        "$lw" "$dw" "$wr" "$ff" "$lf" "$df" "$rf" "$rl"
done <"$results"
echo
echo "| ports | peak working set: floor (KB) | limit (KB) | Dovrel (KB) | Dovrel / floor |"
echo "|---:|---:|---:|---:|---:|"
while read -r count n loads lw dw wr ff lf df rf rl fm lm dm mr; do
    printf '| %s | %s | %s | %s | %.3f |\n' "$count" "$fm" "$lm" "$dm" "$mr"
done <"$results"
echo
while read -r count n loads lw dw wr ff lf df rf rl fm lm dm mr; do
    echo "- at $count ports: window / bare $(printf %.2f "$wr") (goal <= 1.10: $(verdict "$wr" 1.10))," \
        "filled / floor $(printf %.2f "$rf") (goal <= 1.05: $(verdict "$rf" 1.05))," \
        "filled / limit $(printf %.2f "$rl") (goal <= 1.10: $(verdict "$rl" 1.10))," \
        "peak working set / floor $(printf %.3f "$mr") (goal <= 1.10: $(verdict "$mr" 1.10))"
done <"$results"
