#!/usr/bin/env bash
# Dovrel.exe \\server shows and changes the ports of that print server.
# Wine's spooler answers the machine's own name as the local server and
# refuses any other: started for \\OWNNAME, the window "Ports on \\OWNNAME"
# lists the local ports, and a port added and deleted through it is added
# and deleted, and "Connect to server..." in the list's menu opens such a
# window beside the local one; started for a server that does not answer, it says "Can't
# enum ports." with the system's reason, keeps an empty list with Add...,
# and F5 asks again; a command line it does not take gets the usage and no
# window.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

new_port='C:\windows\temp\dovrel-e2e-server.prn'
use_ports COM1: FILE: LPT1:
own=$(drv computer-name) || fail "no computer name"

e2e_exe_arguments=("\\\\$own")
e2e_window_title="Ports on \\\\$own"
start_dovrel
drv wait-rows 3 >/dev/null || fail "the list of \\\\$own did not fill"
expect_rebuilt "the start for \\\\$own"
screenshot -own
note "\"$e2e_window_title\" lists the local ports"

drv click Add...
dialog_ready "Orvane - Dovrel" "Input monitor name."
drv click OK "Orvane - Dovrel"
dialog_ready "Add a Local Port"
expect_owned_by_ports
drv set-text "Add a Local Port" 101 "$new_port"
drv click OK "Add a Local Port"
drv wait-gone "Add a Local Port" 5000 || fail "the monitor's dialog did not close after OK"
drv wait-rows 4 >/dev/null || fail "no fourth row after adding $new_port"
spooler_has "$new_port" || fail "the spooler has no port $new_port"
expect_rebuilt "adding $new_port through \\\\$own"
drv select-row "$(row_of "$new_port")"
drv click Delete...
dialog_ready "Orvane - Dovrel" "Delete port?"
drv click OK "Orvane - Dovrel"
[ "$(drv wait-no-row "$new_port")" = "row: gone" ] || fail "the port added through \\\\$own was not deleted"
spooler_has "$new_port" && fail "the spooler still has $new_port"
note "added and deleted $new_port through \\\\$own"
drv key esc
expect_exit

# From the keyboard: the list's menu, its access key, the prompt.
e2e_exe_arguments=()
e2e_window_title=Ports
start_dovrel
drv wait-rows 3 >/dev/null
drv key F10 shift
drv menu >/dev/null || fail "Shift+F10 opened no menu"
drv key n
dialog_ready "Orvane - Dovrel" "Input server name."
drv set-text "Orvane - Dovrel" 101 "$own"
drv click OK "Orvane - Dovrel"
drv wait-window "Ports on \\\\$own" 20000 >/dev/null || fail "\"Connect to server...\" opened no window for $own"
[ "$(drv --window "Ports on \\\\$own" wait-rows 3 && drv --window "Ports on \\\\$own" list)" ] ||
    fail "the window for \\\\$own did not fill"
drv --window "Ports on \\\\$own" key esc
drv wait-gone "Ports on \\\\$own" 5000 || fail "the window for \\\\$own did not close on Esc"
drv wait-rows 3 >/dev/null || fail "the first window lost its list"
note "\"Connect to server...\" opened \"Ports on \\\\$own\" beside \"Ports\", which stayed"
drv click Cancel
expect_exit

e2e_exe_arguments=('\\DOVREL-NO-SUCH-SERVER')
e2e_window_title='Ports on \\DOVREL-NO-SUCH-SERVER'
start_dovrel
for asked in start F5; do
    dialog_ready "Orvane - Dovrel" "Can't enum ports."
    said=$(control_text text)
    [[ $said == "Can't enum ports.\r\n\r\n"?* ]] || fail "at the $asked, the box says \"$said\""
    [ "$(icon)" = stop ] || fail "\"Can't enum ports.\" shows the $(icon) icon"
    [ "$asked" = start ] && screenshot -unknown
    drv click OK "Orvane - Dovrel"
    drv dialog-gone "Orvane - Dovrel" "Can't enum ports." 5000
    [ "$(drv list)" = "selected:" ] || fail "the list is not empty: $(drv list | head -3)"
    drv controls | grep -q $'^Button\tAdd...\t.*enabled' || fail "Add... is not enabled: $(drv controls)"
    note "an unknown server, at the $asked: \"${said//\\r\\n/ }\""
    [ "$asked" = start ] && drv key F5
done
drv click Cancel
expect_exit

# Two arguments: the usage, no window, and the program ends with exit code 1.
e2e_exe_arguments=('\\one' '\\two')
"$e2e_wine_run" "$e2e_state" "$e2e_exe" "${e2e_exe_arguments[@]}" </dev/null >>"$e2e_tmp/dovrel.log" 2>&1 &
e2e_pid=$!
dialog_ready "Orvane - Dovrel" "Usage: Dovrel"
[ "$(control_text text)" = 'Usage: Dovrel [\\\\server]\r\n\r\nWithout a server name, Dovrel shows the printer ports of this computer; with one, the ports of that print server.' ] ||
    fail "the usage box says \"$(control_text text)\""
[ "$(icon)" = exclamation ] || fail "the usage box shows the $(icon) icon"
screenshot -usage
drv windows | grep -q $'\tDovrelForm\t' && fail "a window of the program shows beside the usage: $(drv windows)"
drv click OK "Orvane - Dovrel"
code=0
wait "$e2e_pid" || code=$?
e2e_pid=
[ "$code" = 1 ] || fail "after the usage the program ended with exit code $code, not 1"
note "two arguments: the usage, no window, exit code 1"
