#!/usr/bin/env bash
# load-cycles.sh ... NAME [MONITOR]: in one run of the program, 200 file
# ports are each added through "Add...", the prompt and the monitor's dialog,
# and deleted again through "Delete..." and its question (e2e_driver
# cycle-ports checks every step). Afterwards the spooler's ports are those of
# before, and the program's USER and GDI objects (where the system counts
# them), handles, windows and memory have not grown. MONITOR, when given, is
# typed into the prompt over its offer.
source "$(dirname "$0")/lib.sh"

monitor=${1:-}
warm_up=10
cycles=200
# How far each figure may grow over the cycles. The windows and the GUI
# objects must come back exactly; a handle or two may be a cache of Wine's;
# the memory is counted in pages, and 128 KiB over 200 cycles still shows a
# leak of 700 bytes a cycle.
declare -A tolerance=([user-objects]=0 [gdi-objects]=0 [handles]=2 [windows]=0 [private-bytes]=131072)

ports_before=$(drv spooler-ports)
mapfile -t names_before < <(cut -f1 <<<"$ports_before")
# A cycle that failed half-way leaves its port behind.
put_ports_back() {
    [ "$(drv spooler-ports)" = "$ports_before" ] || write_ports "${names_before[@]}" ||
        echo "could not put the ports back: ${names_before[*]}" >&2
}
e2e_cleanups+=(put_ports_back)

# Runs the cycles, naming the ports after $2; the driver's lines become notes.
cycle() {
    local out="$e2e_tmp/cycles.out" err="$e2e_tmp/cycles.err" line
    drv cycle-ports "$1" "$2" ${monitor:+"$monitor"} >"$out" 2>"$err" || fail "$(cat "$err")"
    while IFS= read -r line; do note "$line"; done <"$out"
}

figures() {
    drv process-figures | grep -v '^pid:'
}

start_dovrel
drv wait-rows 1 >/dev/null
pid=$(drv process-figures | field pid)
# The first cycles grow the heaps to what a cycle needs.
cycle "$warm_up" 'C:\dovrel-warm-###.txt'
before=$(figures)

# While the cycles run, at whatever step the driver has reached once the
# monitor's dialog has shown.
(drv find-window "Add a Local Port" 20000 >/dev/null && screenshot -cycling) &
shot=$!
cycle "$cycles" 'C:\dovrel-load-###.txt'
wait "$shot" || true
after=$(figures)
# The list back as it was, once it has painted.
drv paint
screenshot

[ "$(drv process-figures | field pid)" = "$pid" ] || fail "\"Ports\" belongs to another process than at the start"
now=$(drv spooler-ports)
[ "$now" = "$ports_before" ] || {
    diff <(echo "$ports_before") <(echo "$now") >&2
    fail "after the cycles the spooler's ports differ from those before (- before, + after)"
}
note "the spooler's ports are those of before: ${names_before[*]}"

grown=()
for name in user-objects gdi-objects handles windows private-bytes; do
    was=$(field "$name" <<<"$before")
    is=$(field "$name" <<<"$after")
    if ! [[ $was =~ ^[0-9]+$ && $is =~ ^[0-9]+$ ]]; then
        note "$name: not counted here, $is"
        continue
    fi
    note "$name: $was before, $is after $cycles cycles"
    if ((is - was > tolerance[$name])); then
        grown+=("$name from $was to $is (tolerance ${tolerance[$name]})")
    fi
done
if [ ${#grown[@]} -gt 0 ]; then
    fail "over $cycles cycles these grew: $(printf '%s; ' "${grown[@]}")"
fi

drv click Cancel
expect_exit
