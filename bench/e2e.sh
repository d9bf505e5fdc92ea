#!/usr/bin/env bash
# e2e.sh STATE BUILD [RUNS]: Dovrel.exe and floor.exe started under Wine
# against the real spooler seeded with 1,000 and 10,000 ports, timed from
# outside: from the start to the visible window "Ports" and to the list
# holding every port. The spooler's ports are put back afterwards.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
state=$(readlink -m "$1")
build=$(readlink -m "$2")
runs=${3:-3}
run="$here/../tests/wine/wine-run.sh"
driver="$build/tests/e2e/e2e_driver.exe"
dovrel="$build/app/Dovrel.exe"
floor="$build/bench/floor.exe"
tmp=$(mktemp -d)

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

# Starts the program, the two waits already running; prints "WINDOW ROWS" in ms.
measure() {
    local exe=$1 count=$2 start pid
    drv wait-gone Ports 10000 >/dev/null
    drv reset-placement >/dev/null
    rm -f "$tmp/window" "$tmp/rows"
    (drv wait-window Ports 120000 >/dev/null && ms >"$tmp/window") &
    local waitWindow=$!
    (drv wait-rows "$count" 300000 >/dev/null && ms >"$tmp/rows") &
    local waitRows=$!
    sleep 2  # both waits are polling by now
    start=$(ms)
    "$run" "$state" "$exe" </dev/null >/dev/null 2>&1 &
    pid=$!
    wait "$waitWindow" "$waitRows" || true
    drv close-window Ports >/dev/null || true
    wait "$pid" || true
    [ -s "$tmp/window" ] && [ -s "$tmp/rows" ] || { echo "no window or not all $count rows: ${exe##*/}" >&2; return 1; }
    echo "$(($(cat "$tmp/window") - start)) $(($(cat "$tmp/rows") - start))"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "| ports | runs | floor: window (ms) | floor: filled (ms) | Dovrel: window (ms) | Dovrel: filled (ms) | filled: Dovrel / floor |"
echo "|---:|---:|---:|---:|---:|---:|---:|"
for count in 1000 10000; do
    make_names "$count" >"$tmp/names.txt"
    import_ports "$tmp/names.txt"
    seen=$(drv spooler-ports | wc -l)
    [ "$seen" -eq "$count" ] || { echo "the spooler reports $seen ports after seeding $count" >&2; exit 1; }
    : >"$tmp/floor.txt"
    : >"$tmp/dovrel.txt"
    for _ in $(seq "$runs"); do
        measure "$floor" "$count" >>"$tmp/floor.txt"
        measure "$dovrel" "$count" >>"$tmp/dovrel.txt"
    done
    fw=$(cut -d' ' -f1 "$tmp/floor.txt" | median)
    fr=$(cut -d' ' -f2 "$tmp/floor.txt" | median)
    dw=$(cut -d' ' -f1 "$tmp/dovrel.txt" | median)
    dr=$(cut -d' ' -f2 "$tmp/dovrel.txt" | median)
    printf '| %d | %d | %s | %s | %s | %s | %.2f |\n' "$count" "$runs" "$fw" "$fr" "$dw" "$dr" \
        "$(awk -v a="$dr" -v b="$fr" 'BEGIN { print a / b }')"
done
