#!/usr/bin/env bash
# Windows' spooler refuses a program without an administrator's rights, and
# a port that printers use; a stand-in winspool.drv refuses so
# (standin_refusals.h). Each box gives the command's fixed text, then the
# system's reason and, for a port in use, its printers, five by name at
# most. Wine reports every program elevated, so no restart is offered. The
# list stays as it was.
# Arguments after the usual five: the stand-in winspool.drv.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

start_dovrel_on_standin "$1"
drv wait-rows 3 >/dev/null || fail "the list did not fill"
rows=$(drv list | grep -v '^selected:')
denied=$(drv system-text 5)
busy=$(drv system-text 170)

# $1 on row $2 (COM1:, FILE:, LPT1:), through its prompt or question, ends
# in the box $3 (escaped as control_text gives it); $4 names the screenshot.
expect_refusal() {
    drv select-row "$2"
    drv click "$1"
    case $1 in
    Add...) dialog_ready "Orvane - Dovrel" "Input monitor name." ;;
    Delete...) dialog_ready "Orvane - Dovrel" "Delete port?" ;;
    esac
    [ "$1" = Settings... ] || drv click OK "Orvane - Dovrel"
    dialog_ready "Orvane - Dovrel" "${3%%\\r*}"
    expect_owned_by_ports
    [ "$(control_text text)" = "$3" ] || fail "$1 on row $2 shows
$(control_text text)
expected
$3"
    [ "$(icon)" = exclamation ] || fail "$1 on row $2: the icon is \"$(icon)\""
    screenshot "-$4"
    drv click OK "Orvane - Dovrel"
    drv dialog-gone "Orvane - Dovrel" "${3%%\\r*}" 5000
    [ "$(drv list | grep -v '^selected:')" = "$rows" ] || fail "the list changed after $1 on row $2"
    note "$1 on row $2: refused, $4"
}

expect_refusal Add... 0 "Can't add port.\r\n\r\n$denied" rights
expect_refusal Settings... 1 "Can't configure port.\r\n\r\n$denied" configure
in_use="Can't delete port.\r\n\r\n$busy\r\n\r\nPrinters that use the port:"
expect_refusal Delete... 2 "$in_use\r\nOffice Laser\r\nLabel Printer\r\nDraft Printer" three-printers
expect_refusal Delete... 0 "$in_use\r\nLabel Printer\r\nSerial Printer 1\r\nSerial Printer 2\r\nSerial Printer 3\r\nSerial Printer 4\r\nand 2 more" seven-printers

drv click Cancel
expect_exit
