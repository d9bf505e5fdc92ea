#!/usr/bin/env bash
# Run without an administrator's rights under UAC, the program offers to
# start again as administrator when a command is refused for want of them.
# No leaves everything as it was. Yes saves the placement and starts the
# program's file again with the same arguments (here a print server's
# name, which the stand-in answers for), and this instance ends.
# Wine reports every program elevated and starts it again without asking:
# the program here is built to report a limited token (limited_token.cpp).
# Arguments after the usual five: the stand-in winspool.drv, the program.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

e2e_exe=$(readlink -f "$2")
e2e_exe_arguments=('\\DOVREL-SRV')
e2e_window_title='Ports on \\DOVREL-SRV'
restarted=
# A new instance left by a failed step ends before the stand-in goes.
end_restarted() {
    if [ -n "$restarted" ] && drv wait-window "$e2e_window_title" 100 >/dev/null 2>&1; then
        drv end-process "$e2e_window_title" >/dev/null
        drv wait-process-gone "$restarted" 5000
    fi
}
e2e_cleanups+=(end_restarted)
start_dovrel_on_standin "$1"
drv wait-rows 3 >/dev/null || fail "the list did not fill"
drv move 40 60 640 320
placed=$(drv window-rect | field rect)
first=$(drv command-line)
list=$(drv list)
offer="Can't add port.\r\n\r\n$(drv system-text 5)\r\n\r\nChanging ports needs administrator rights. Restart Dovrel as administrator?"

# The arguments of a command line as control_text escapes it: what follows
# the program's file name.
arguments() {
    field command-line | sed 's/^.*\.exe"\{0,1\} *//'
}

ask() {
    drv click Add...
    dialog_ready "Orvane - Dovrel" "Input monitor name."
    drv click OK "Orvane - Dovrel"
    dialog_ready "Orvane - Dovrel" "Can't add port."
    [ "$(control_text text)" = "$offer" ] || fail "the box shows
$(control_text text)
expected
$offer"
    [ "$(buttons)" = "6 &Yes,7 &No" ] || fail "the box's buttons are \"$(buttons)\", expected Yes and No"
    [ "$(icon)" = exclamation ] || fail "the box shows the icon \"$(icon)\""
}

ask
screenshot -offer
drv click "&No" "Orvane - Dovrel"
drv dialog-gone "Orvane - Dovrel" "Can't add port." 5000
expect_list "$list" "No"
[ "$(drv command-line)" = "$first" ] || fail "after No another instance runs: $(drv command-line)"
note "No: the same instance, the list as it was"

ask
drv click "&Yes" "Orvane - Dovrel"
expect_exit
again=$(drv wait-window "$e2e_window_title" 20000 && drv command-line) || fail "no new instance after Yes"
restarted=$(field pid <<<"$again")
[ "$restarted" != "$(field pid <<<"$first")" ] || fail "Yes left the same process"
[ "$(arguments <<<"$again")" = "$(arguments <<<"$first")" ] ||
    fail "the new instance was started as \"$(field command-line <<<"$again")\", the first as \"$(field command-line <<<"$first")\""
[ "$(drv window-rect | field rect)" = "$placed" ] || fail "the new instance opened at $(drv window-rect | field rect), not at $placed"
note "Yes: the first instance ended, process $restarted started with $(arguments <<<"$again")"
screenshot -restarted

drv click Cancel
drv wait-process-gone "$restarted" 5000 || fail "the new instance did not end after Cancel"
restarted=
