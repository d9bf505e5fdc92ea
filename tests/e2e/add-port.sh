#!/usr/bin/env bash
# "Add..." asks for the monitor, offering "Local port"; OK hands that to the
# spooler, whose monitor asks for the port in its own dialog owned by the
# port window. The new port then shows in the rebuilt list, row 0 selected.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

# The monitor takes any name that it can open as a file.
new_port='C:\windows\temp\dovrel-e2e.prn'
use_ports COM1: FILE: LPT1: LPT2:

start_dovrel
drv wait-rows 4 >/dev/null
# Away from row 0, so that the rebuild shows in the selection too.
drv select-row 3

drv click Add...
dialog_ready "Orvane - Dovrel"
expect_owned_by_ports
[ "$(control_text text)" = "Input monitor name." ] || fail "the prompt says \"$(control_text text)\""
[ "$(control_text 101)" = "Local port" ] || fail "the prompt offers \"$(control_text 101)\", expected \"Local port\""
# Selected whole, so that typing replaces it.
[ "$(control_detail 101)" = "selected 0 10" ] || fail "in the prompt's field: $(control_detail 101)"
[ "$(buttons)" = "1 OK,2 Cancel" ] || fail "the prompt's buttons are \"$(buttons)\""
[ "$(field default <<<"$dialog")" = 1 ] || fail "the prompt's default button is $(field default <<<"$dialog")"
screenshot -prompt
drv click OK "Orvane - Dovrel"

dialog_ready "Add a Local Port"
expect_owned_by_ports
[ -n "$(control_detail 101)" ] || fail "the monitor's dialog has no edit 101:
$dialog"
drv set-text "Add a Local Port" 101 "$new_port"
drv click OK "Add a Local Port"
drv wait-gone "Add a Local Port" 5000 || fail "the monitor's dialog did not close after OK"

drv wait-rows 5 >/dev/null || fail "no fifth row after adding $new_port"
spooler_has "$new_port" || fail "the spooler has no port $new_port"
expect_rebuilt "adding $new_port"
note "added $new_port"
screenshot

drv click Cancel
expect_exit
