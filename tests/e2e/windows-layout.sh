#!/usr/bin/env bash
# The spooler of Windows lays out its answer with the strings packed
# downwards from the end of the buffer offered; with a port gone between
# the size call and the data call, the first records' strings lie beyond
# the byte count the data call reports. A stand-in winspool.drv in the
# prefix's system folder answers so, for Dovrel.exe alone: every row still
# shows its name, monitor and description.
# Arguments after the usual five: the stand-in winspool.drv.
source "$(dirname "$0")/lib.sh"

start_dovrel_on_standin "$1"
drv wait-rows 3 >/dev/null || fail "the list did not fill"

expected=$(printf '%s\t%s\t%s\t%s\n' \
    'COM1:' 'Stand-in Monitor' 'Serial Port' 'Write, Read' \
    'FILE:' 'Stand-in Monitor' 'Print to File' 'Write' \
    'LPT1:' 'Stand-in Monitor' 'Printer Port' 'Write')
rows=$(drv list | grep -v '^selected:')
diff <(echo "$expected") <(echo "$rows") >&2 || fail "the rows differ from the stand-in's three ports (- expected, + list)"
note "three rows, every one named"
screenshot
drv click Cancel
expect_exit
