#!/usr/bin/env bash
# e2e.sh STATE BUILD [RUNS]: Dovrel.exe beside floor.exe, dressed_floor.exe
# and limit.exe, started under Wine against the real spooler holding the
# prefix's own ports, then 1,000 and 10,000 (DOVREL_BENCH_E2E_PORTS, "own"
# for the prefix's own), timed from outside: from the start to the visible
# window "Ports" and to the list holding every port; then the peak working
# set of the process. First, one start of Dovrel at the prefix's own ports
# under Wine's trace gives the phases of a start. After a warm-up start of
# each, RUNS rounds of one start of each program; Dovrel starts between the
# two floors, so that each of its starts is paired with the starts beside it.
# Ratios are medians of the per-round ratios. The spooler's ports are put
# back afterwards.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
state=$(readlink -m "$1")
build=$(readlink -m "$2")
runs=${3:-5}
run="$here/../tests/wine/wine-run.sh"
driver="$build/tests/e2e/e2e_driver.exe"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The programs as the release package ships them, stripped: Wine reads a
# MinGW program's sections into memory whole (their file alignment is below
# a page), debug information included, which would add megabytes of working
# set and the time to read them that Windows never spends.
strip=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "$build/CMakeCache.txt")
objdump=$(sed -n 's/^CMAKE_OBJDUMP:FILEPATH=//p' "$build/CMakeCache.txt")
mkdir "$tmp/bin"
echo "The programs timed, stripped with ${strip:-strip}:"
echo
echo "| program | built (KB) | stripped (KB) | debug sections left |"
echo "|---|---:|---:|---:|"
for program in "$build/app/Dovrel.exe" "$build/bench/floor.exe" "$build/bench/dressed_floor.exe" \
    "$build/bench/limit.exe"; do
    stripped="$tmp/bin/${program##*/}"
    "${strip:-strip}" -o "$stripped" "$program"
    debug=$("${objdump:-objdump}" -h "$stripped" | grep -c '\.debug' || true)
    [ "$debug" -eq 0 ] || { echo "${program##*/} keeps $debug debug sections after stripping" >&2; exit 1; }
    echo "| ${program##*/} | $(($(stat -c %s "$program") / 1024)) | $(($(stat -c %s "$stripped") / 1024)) | $debug |"
done
echo
dovrel="$tmp/bin/Dovrel.exe"
floor="$tmp/bin/floor.exe"
dressed="$tmp/bin/dressed_floor.exe"
limit="$tmp/bin/limit.exe"

drv() { "$run" "$state" "$driver" "$@" </dev/null; }
winpath() { local path=$1; echo "Z:${path//\//\\}"; }
regedit_import() { "$run" "$state" regedit /S "$(winpath "$1")" </dev/null >/dev/null 2>&1; }

ports_key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Ports'

# The prefix's own ports as the first run found them, values and all: a run
# that was killed midway may have left thousands of ports behind.
own="$state/ports-before.reg"
if [ ! -s "$own" ]; then
    "$run" "$state" regedit /E "$(winpath "$own")" "$ports_key" </dev/null >/dev/null 2>&1
    [ -s "$own" ] || { echo "could not save the prefix's ports" >&2; exit 1; }
fi
printf 'REGEDIT4\r\n\r\n[-%s]\r\n' "$ports_key" >"$tmp/drop.reg"

put_back_own_ports() {
    regedit_import "$tmp/drop.reg" && regedit_import "$own"
}

# One "NAME"="" line per port after dropping the key; names as the port
# names of the other measure, mixed case.
import_ports() {
    local file="$tmp/ports.reg"
    {
        printf 'REGEDIT4\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports]\r\n'
        sed 's/\\/\\\\/g; s/"/\\"/g; s/.*/"&"=""\r/' "$1"
    } >"$file"
    regedit_import "$tmp/drop.reg"
    regedit_import "$file"
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

relay_key='HKCU\Software\Wine\Debug'
restore() {
    "$run" "$state" reg delete "$relay_key" /v RelayInclude /f </dev/null >/dev/null 2>&1 || true
    put_back_own_ports || echo "could not put the ports back" >&2
    rm -rf "$tmp"
}
trap restore EXIT

put_back_own_ports
ownCount=$(drv spooler-ports | wc -l)
[ "$ownCount" -gt 0 ] || { echo "the prefix has no ports of its own" >&2; exit 1; }

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

# One start of Dovrel under Wine's trace, the calls below relayed; prints
# the milestones of the start in ms from the trace's first line.
relayed='user32.CreateWindowExW;user32.ShowWindow;user32.SetTimer;user32.BeginPaint;user32.EndPaint'
relayed+=';user32.SetFocus;user32.UpdateWindow;user32.GetMessageW;winspool.drv.EnumPortsA;winspool.EnumPortsA'
relayed+=';kernel32.LoadLibraryExW;kernelbase.LoadLibraryExW;kernel32.CreateThread;comctl32.InitCommonControlsEx'
trace_start() {
    local count=$1 pid
    "$run" "$state" reg add "$relay_key" /v RelayInclude /d "$relayed" /f </dev/null >/dev/null 2>&1
    drv wait-gone Ports 10000 >/dev/null
    drv reset-placement >/dev/null
    DOVREL_WINEDEBUG=+timestamp,+pid,+loaddll,+relay "$run" "$state" "$dovrel" </dev/null >/dev/null \
        2>"$tmp/trace.txt" &
    pid=$!
    drv wait-rows "$count" 60000 >/dev/null
    drv paint >/dev/null
    drv close-window Ports >/dev/null || true
    wait "$pid" || true
    "$run" "$state" reg delete "$relay_key" /v RelayInclude /f </dev/null >/dev/null 2>&1
    echo "One start of Dovrel at $count ports under WINEDEBUG=+timestamp,+pid,+loaddll,+relay" \
        "($(wc -l <"$tmp/trace.txt") lines; traced, so slower than the timed starts):"
    echo
    echo "| milestone | ms from the first line |"
    echo "|---|---:|"
    awk -f "$here/trace-phases.awk" "$tmp/trace.txt"
    echo
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# column N of FILE: the values of one measure, one start per line
column() { cut -d' ' -f"$1" "$2"; }

# median of column N of program P's starts
med() { column "$2" "$tmp/$1.txt" | median; }

# median of the per-round ratios of column N of Dovrel's starts to those of program P
ratio() {
    paste -d' ' <(column "$2" "$tmp/dovrel.txt") <(column "$2" "$tmp/$1.txt") | awk '{ printf "%.4f\n", $1 / $2 }' |
        median
}

verdict() { awk -v r="$1" -v goal="$2" 'BEGIN { print (r <= goal) ? "met" : "MISSED" }'; }

# "NAME R (goal <= G: met)"
goal() { echo "$1 $(printf %.2f "$2") (goal <= $3: $(verdict "$2" "$3"))"; }

load() { cut -d' ' -f1-3 /proc/loadavg; }

if [ -z "${DOVREL_BENCH_E2E_PORTS:-}" ] || grep -qw own <<<"$DOVREL_BENCH_E2E_PORTS"; then
    trace_start "$ownCount"
fi

window="$tmp/window.md" filled="$tmp/filled.md" memory="$tmp/memory.md" goals="$tmp/goals.md"
: >"$window"
: >"$filled"
: >"$memory"
: >"$goals"
for ports in ${DOVREL_BENCH_E2E_PORTS:-own 1000 10000}; do
    if [ "$ports" = own ]; then
        put_back_own_ports
        count=$ownCount
    else
        make_names "$ports" >"$tmp/names.txt"
        import_ports "$tmp/names.txt"
        count=$ports
    fi
    seen=$(drv spooler-ports | wc -l)
    [ "$seen" -eq "$count" ] || { echo "the spooler reports $seen ports, not $count" >&2; exit 1; }
    loadBefore=$(load)
    for exe in "$limit" "$floor" "$dressed" "$dovrel"; do
        measure "$exe" "$count" >/dev/null  # warm-up
    done
    for program in limit floor dressed dovrel; do : >"$tmp/$program.txt"; done
    for round in $(seq "$runs"); do
        if [ $((round % 2)) -eq 1 ]; then order="limit floor dovrel dressed"; else order="dressed dovrel floor limit"; fi
        for program in $order; do
            measure "${!program}" "$count" >>"$tmp/$program.txt"
        done
    done
    # Every start's figures, "WINDOW ROWS PEAK" a line, for a closer look.
    if [ -n "${DOVREL_BENCH_E2E_KEEP:-}" ]; then
        mkdir -p "$DOVREL_BENCH_E2E_KEEP"
        for program in limit floor dressed dovrel; do
            cp "$tmp/$program.txt" "$DOVREL_BENCH_E2E_KEEP/$program-$ports.txt"
        done
    fi
    label=$count
    [ "$ports" = own ] && label="$count (own)"
    echo "| $label | $runs | $loadBefore / $(load) | $(med floor 1) | $(med dressed 1) | $(med limit 1) |" \
        "$(med dovrel 1) | $(printf %.2f "$(ratio floor 1)") | $(printf %.2f "$(ratio dressed 1)") |" >>"$window"
    echo "| $label | $(med floor 2) | $(med dressed 2) | $(med limit 2) | $(med dovrel 2) |" \
        "$(printf %.2f "$(ratio floor 2)") | $(printf %.2f "$(ratio limit 2)") |" \
        "$(printf %.2f "$(ratio dressed 2)") |" >>"$filled"
    echo "| $label | $(med floor 3) | $(med dressed 3) | $(med limit 3) | $(med dovrel 3) |" \
        "$(printf %.3f "$(ratio floor 3)") | $(printf %.3f "$(ratio dressed 3)") |" >>"$memory"
    {
        echo "- at $label ports:"
        echo "  - $(goal "visible window, Dovrel / floor" "$(ratio floor 1)" 1.10);" \
            "$(goal "Dovrel / dressed floor" "$(ratio dressed 1)" 1.05)"
        echo "  - $(goal "filled list, Dovrel / limit" "$(ratio limit 2)" 1.10);" \
            "$(goal "Dovrel / floor" "$(ratio floor 2)" 1.05);" \
            "$(goal "Dovrel / dressed floor" "$(ratio dressed 2)" 1.05)"
        echo "  - $(goal "peak working set, Dovrel / floor" "$(ratio floor 3)" 1.10);" \
            "$(goal "Dovrel / dressed floor" "$(ratio dressed 3)" 1.05)"
    } >>"$goals"
done

echo "Times in ms from the start, medians; ratios are medians of per-round ratios."
echo
echo "| ports | runs | load before / after | window: floor | window: dressed floor | window: limit (bare) |" \
    "window: Dovrel | Dovrel / floor | Dovrel / dressed floor |"
echo "|---:|---:|---|---:|---:|---:|---:|---:|---:|"
cat "$window"
echo
echo "| ports | filled: floor | filled: dressed floor | filled: limit | filled: Dovrel | Dovrel / floor |" \
    "Dovrel / limit | Dovrel / dressed floor |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|"
cat "$filled"
echo
echo "| ports | peak working set: floor (KB) | dressed floor (KB) | limit (KB) | Dovrel (KB) | Dovrel / floor |" \
    "Dovrel / dressed floor |"
echo "|---:|---:|---:|---:|---:|---:|---:|"
cat "$memory"
echo
echo "Goals; the dressed floor's tell, where the floor's are missed, whether the port window's dress is the cost:"
echo
cat "$goals"
