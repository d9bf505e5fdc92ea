#!/usr/bin/env bash
# The spooler refuses the add, for a monitor it does not know and when the
# monitor's own dialog is cancelled. The first is reported in the program's
# own box, "Can't add port." with the spooler's reason below; the second
# was the user's choice and shows nothing. After each the list is as it was.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

use_ports COM1: FILE: LPT1:

start_dovrel
drv wait-rows 3 >/dev/null
drv select-row 2
list=$(drv list)
windows=$(drv windows)
ports=$(drv spooler-ports)
unknown="Can't add port.\r\n\r\n$(drv system-text 50)"  # ERROR_NOT_SUPPORTED

for way in "an unknown monitor" "Cancel in the monitor's dialog"; do
    drv click Add...
    dialog_ready "Orvane - Dovrel" "Input monitor name."
    if [ "$way" = "an unknown monitor" ]; then
        drv set-text "Orvane - Dovrel" 101 "No such monitor"
        drv click OK "Orvane - Dovrel"
    else
        drv click OK "Orvane - Dovrel"
        dialog_ready "Add a Local Port"
        expect_owned_by_ports
        drv click Cancel "Add a Local Port"
        drv wait-gone "Add a Local Port" 5000 || fail "the monitor's dialog did not close"
    fi

    if [ "$way" = "an unknown monitor" ]; then
        dialog_ready "Orvane - Dovrel" "Can't add port."
        expect_owned_by_ports
        [ "$(control_text text)" = "$unknown" ] || fail "after $way the box says \"$(control_text text)\""
        [ "$(buttons)" = "1 OK" ] || fail "after $way the box's buttons are \"$(buttons)\", expected OK alone"
        [ "$(icon)" = exclamation ] || fail "after $way the box shows the icon \"$(icon)\", expected the exclamation mark"
        screenshot -refused
        drv click OK "Orvane - Dovrel"
        drv wait-gone "Orvane - Dovrel" 5000 || fail "the box after $way did not close"
    fi

    expect_windows "$windows" "$way"
    expect_list "$list" "$way"
    note "$way: refused"
done
[ "$(drv spooler-ports)" = "$ports" ] || fail "the spooler's ports changed"

drv click Cancel
expect_exit
