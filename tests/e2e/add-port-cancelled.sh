#!/usr/bin/env bash
# The monitor prompt of "Add..." left by Cancel, by Esc, or by OK with the
# field emptied: no monitor dialog, no message, the list as it was.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

use_ports COM1: FILE: LPT1:

start_dovrel
drv wait-rows 3 >/dev/null
drv select-row 2
list=$(drv list)
windows=$(drv windows)
ports=$(drv spooler-ports)

for way in Cancel Esc "OK on an empty field"; do
    drv click Add...
    dialog_ready "Orvane - Dovrel" "Input monitor name."
    case $way in
    Cancel) drv click Cancel "Orvane - Dovrel" ;;
    Esc) drv --window "Orvane - Dovrel" key esc ;;
    *)
        drv set-text "Orvane - Dovrel" 101 ""
        drv click OK "Orvane - Dovrel"
        ;;
    esac
    if ! drv wait-gone "Orvane - Dovrel" 5000; then
        dialog_ready "Orvane - Dovrel"
        fail "after $way a window \"Orvane - Dovrel\" is still open, saying \"$(control_text text)\""
    fi
    expect_windows "$windows" "$way in the prompt"
    expect_list "$list" "$way in the prompt"
    note "$way: nothing happened"
done
[ "$(drv spooler-ports)" = "$ports" ] || fail "the spooler's ports changed"

screenshot
drv click Cancel
expect_exit
