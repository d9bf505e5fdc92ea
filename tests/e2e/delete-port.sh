#!/usr/bin/env bash
# "Delete..." asks about the selected port; Cancel keeps it, OK deletes it
# from the spooler and the rebuilt list, even when another program moved the
# selection to another port while the question was up.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

# Two file ports whose names differ in one letter; the one to delete is not
# on row 0, where the selection starts.
kept='C:\windows\temp\dovrel-e2e-a.prn'
deleted='C:\windows\temp\dovrel-e2e-b.prn'
use_ports COM1: FILE: LPT1: "$kept" "$deleted"

start_dovrel
drv wait-rows 5 >/dev/null
row=$(row_of "$deleted")
[ "$row" = 1 ] || fail "$deleted is on row '$row', expected row 1"
drv select-row "$row"
list=$(drv list)
windows=$(drv windows)
question="$(escaped "$deleted")\\r\\n\\r\\nDelete port?"

drv click Delete...
dialog_ready "Orvane - Dovrel"
expect_owned_by_ports
[ "$(control_text text)" = "$question" ] || fail "the box asks \"$(control_text text)\", expected \"$question\""
[ "$(buttons)" = "1 OK,2 Cancel" ] || fail "the box's buttons are \"$(buttons)\""
[ "$(field default <<<"$dialog")" = 1 ] || fail "the box's default button is $(field default <<<"$dialog")"
note "asked: $(control_text text) ($(icon) icon)"
screenshot -confirm
drv click Cancel "Orvane - Dovrel"
drv wait-gone "Orvane - Dovrel" 5000 || fail "the box did not close after Cancel"
expect_windows "$windows" "Cancel"
expect_list "$list" "Cancel"
spooler_has "$deleted" || fail "the spooler lost $deleted after Cancel"

drv click Delete...
dialog_ready "Orvane - Dovrel" "Delete port?"
drv set-selection "$(row_of "$kept")" >/dev/null
note "the selection moved to $kept while the question about $deleted was up"
drv click OK "Orvane - Dovrel"
drv wait-gone "Orvane - Dovrel" 5000 || fail "the box did not close after OK"
outcome=$(drv wait-no-row "$deleted" 5000) || fail "$deleted is still in the list 5 s after OK"
[ "$outcome" = "row: gone" ] || fail "deleting $deleted, the program said $outcome"
if spooler_has "$deleted"; then fail "the spooler still has $deleted"; fi
spooler_has "$kept" || fail "the spooler lost $kept too"
expect_rebuilt "deleting $deleted"
expect_windows "$windows" "deleting $deleted"
note "deleted $deleted"
screenshot

drv click Cancel
expect_exit
