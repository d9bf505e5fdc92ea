#!/usr/bin/env bash
# A click on a column header sorts by that column; a further click on the same
# column reverses the order; a click on another column sorts ascending again.
source "$(dirname "$0")/lib.sh"

use_ports LPT1: COM1: gamma: Zeta: FILE: alpha: lpt9: Beta: COM2:
ascending="alpha: Beta: COM1: COM2: FILE: gamma: LPT1: lpt9: Zeta:"
descending="Zeta: lpt9: LPT1: gamma: FILE: COM2: COM1: Beta: alpha:"

names() {
    drv list | grep -v '^selected:' | cut -f1 | paste -sd' '
}

expect_names() {
    local shown
    shown=$(names)
    [ "$shown" = "$2" ] || fail "$1: the names are in the order \"$shown\", expected \"$2\""
    note "$1: $shown"
}

click() {
    drv header-click "$1" >/dev/null
}

start_dovrel
drv wait-rows 9 >/dev/null
expect_names "at the start" "$ascending"
click Name
expect_names "Name clicked once" "$descending"
click Name
expect_names "Name clicked twice" "$ascending"
click Name
expect_names "Name clicked three times" "$descending"
# Every port has the same monitor and type here, so those sorts show only
# through what comes after them.
click Monitor
click Name
expect_names "Monitor, then Name" "$ascending"
click Name
expect_names "Monitor, then Name twice" "$descending"
click Type
click Type
click Name
expect_names "Type twice, then Name" "$ascending"
rows=$(drv list | grep -vc '^selected:')
[ "$rows" -eq 9 ] || fail "the list has $rows rows after sorting, expected 9"

click Name
screenshot
drv click Cancel
expect_exit
