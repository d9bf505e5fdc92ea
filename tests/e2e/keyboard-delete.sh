#!/usr/bin/env bash
# A port deleted from the keyboard alone: an arrow key to its row, Tab to
# "Delete...", Enter, Enter on the question (OK is its default). The port
# leaves the list and the spooler; the refresh disables "Delete..." while it
# has the focus, so the focus goes on to "Help", the next control in tab
# order, and the keys go on working from there.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

kept='C:\windows\temp\dovrel-e2e-keys-a.prn'
deleted='C:\windows\temp\dovrel-e2e-keys-b.prn'
use_ports COM1: LPT1: "$kept" "$deleted"

start_dovrel
drv wait-rows 4 >/dev/null
[ "$(row_of "$kept")" = 0 ] && [ "$(row_of "$deleted")" = 1 ] || fail "the file ports are not on rows 0 and 1: $(drv list)"
drv wait-focus list 5000 || fail "at the start the focus is not on the list"
drv wait-selected 0 1000 || fail "row 0 is not selected at the start"
drv key down
drv wait-selected 1 5000 || fail "Down did not select row 1"
for _ in 1 2 3 4; do
    drv key tab
done
drv wait-focus Delete... 5000 || fail "four Tabs from the list did not reach Delete...: $(drv focus | head -1)"
drv key enter
dialog_ready "Orvane - Dovrel" "Delete port?"
[ "$(control_text text)" = "$(escaped "$deleted")\\r\\n\\r\\nDelete port?" ] || fail "the question is \"$(control_text text)\""
drv --window "Orvane - Dovrel" key enter
drv wait-gone "Orvane - Dovrel" 5000 || fail "Enter did not close the question"
outcome=$(drv wait-no-row "$deleted" 5000) || fail "$deleted is still in the list after Enter on the question"
[ "$outcome" = "row: gone" ] || fail "deleting $deleted, the program said $outcome"
if spooler_has "$deleted"; then fail "the spooler still has $deleted"; fi
spooler_has "$kept" || fail "the spooler lost $kept"
note "deleted $deleted from the keyboard"

drv wait-focus Help 5000 || fail "after the delete the focus is not on Help: $(drv focus | head -1)"
drv key tab shift
drv wait-focus Delete... 5000 || fail "Shift+Tab from Help did not reach Delete...: $(drv focus | head -1)"
drv key tab
drv wait-focus Help 5000 || fail "Tab from Delete... did not reach Help: $(drv focus | head -1)"
drv key tab
drv wait-focus list 5000 || fail "Tab from Help did not reach the list: $(drv focus | head -1)"
drv key down
drv wait-selected 1 5000 || fail "Down on the list did not select row 1 after the delete"
note "after the delete: the focus on Help; Shift+Tab, Tab, Tab and Down work"
screenshot

drv key esc
expect_exit
