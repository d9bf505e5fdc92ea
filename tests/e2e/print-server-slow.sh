#!/usr/bin/env bash
# A slow print server never leaves the window deaf: every refresh of its
# ports is awaited with the window taking keys, F5 pressed while one is
# awaited refreshes once more without harm, and Esc closes the window while
# an answer is awaited. The stand-in winspool.drv of list_follows, told to
# answer each EnumPortsA after 1.5 s. Arguments after the usual five: that
# stand-in.
source "$(dirname "$0")/lib.sh"

use_ports COM1: FILE: LPT1:
export DOVREL_STANDIN_SLOW_MS=1500
e2e_exe_arguments=('\\SLOWSRV')
e2e_window_title='Ports on \\SLOWSRV'
start_dovrel_on_standin "$1"
drv key F5
drv key tab
drv wait-focus Cancel 3000 >/dev/null || fail "Tab did not move the focus while the first answer was awaited"
drv key F5
drv wait-rows 3 20000 >/dev/null || fail "the list did not fill after F5 was pressed twice while it was awaited"
note "F5 twice and Tab while the first answer was awaited: the list filled"
drv key F5
drv key F5
drv wait-rows 3 20000 >/dev/null || fail "the list did not fill again"
drv key F5
drv key esc
expect_exit
note "Esc while a later refresh was awaited closed the program"
