#!/usr/bin/env bash
# "Settings..." and a double click on a row both open the monitor's dialog
# for the selected port, owned by the port window; whatever it returns, the
# program shows nothing after it and leaves the list alone.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

use_ports COM1: FILE: LPT1: LPT2:
# OK in the LPT dialog stores the retry timeout shown, the default unless
# set; take it away again if it was not set before.
windows_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Windows'
forget_timeout() {
    wine_step reg delete "$windows_key" /v TransmissionRetryTimeout /f >/dev/null
}
# reg query ends with 1 when the value is not there.
if ! wine_step reg query "$windows_key" /v TransmissionRetryTimeout >/dev/null; then
    e2e_cleanups+=(forget_timeout)
fi

start_dovrel
drv wait-rows 4 >/dev/null
lpt1=$(row_of LPT1:)
[ "$lpt1" = 2 ] || fail "LPT1: is on row '$lpt1', expected row 2"
drv select-row "$lpt1"
list=$(drv list)
windows=$(drv windows)

drv click Settings...
dialog_ready "Configure LPT Port"
expect_owned_by_ports
[ -n "$(control_detail 202)" ] || fail "the LPT dialog has no edit 202:
$dialog"
note "Settings...: \"Configure LPT Port\", timeout $(control_text 202)"
screenshot -configure
drv click Cancel "Configure LPT Port"
drv wait-gone "Configure LPT Port" 5000 || fail "the LPT dialog did not close after Cancel"
expect_windows "$windows" "Cancel in the LPT dialog"
expect_list "$list" "Cancel in the LPT dialog"

# From row 0, COM1:, which has no LPT dialog: the dialog below can only come
# from the row that the double click itself selects.
drv select-row 0
drv dblclick-row "$lpt1"
dialog_ready "Configure LPT Port"
expect_owned_by_ports
note "double click: \"Configure LPT Port\""
drv click OK "Configure LPT Port"
drv wait-gone "Configure LPT Port" 5000 || fail "the LPT dialog did not close after OK"
expect_windows "$windows" "OK in the LPT dialog"
expect_list "$list" "OK in the LPT dialog"

screenshot
drv click Cancel
expect_exit
