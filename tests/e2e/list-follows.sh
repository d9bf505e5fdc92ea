#!/usr/bin/env bash
# The list follows ports added and deleted by another program, with no
# input, keeping the user's sort, selected port and top row; not while the
# program asks a question, but once it is answered; also a port added right
# after the first answer, while the program starts. Wine's spooler tells of
# no changes, so a stand-in winspool.drv in the prefix's system folder, for
# Dovrel.exe alone, serves the ports Wine's spooler keeps and tells of
# their changes. Arguments after the usual five: that stand-in.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

files=()
for n in $(seq -w 1 22); do
    files+=("C:\\windows\\temp\\dovrel-e2e-follow-$n.prn")
done
use_ports COM1: COM2: FILE: LPT1: LPT2: "${files[@]}"

export DOVREL_STANDIN_ADDS_AFTER_FIRST=LPT7:
start_dovrel_on_standin "$1"
drv wait-rows 27 >/dev/null || fail "the list did not fill"
drv wait-row LPT7: 3000 | grep -q '^row: ' || fail "LPT7:, added right after the first answer, did not come in"
drv wait-rows 28 >/dev/null || fail "the list does not hold the 28 ports"

# The user's view: sorted by name descending, scrolled to the end, the row
# two above the last selected.
drv header-click Name
drv key end
drv key up
drv key up
drv wait-selected 25 5000 || fail "End, Up, Up did not select row 25"
names() { drv list | grep -v '^selected:' | cut -f1; }
selected_name() { drv list | sed -n "$(($(drv list | field selected) + 1))p" | cut -f1; }
top_name() { names | sed -n "$(($(drv top-row | field top-row) + 1))p"; }
picked=$(selected_name)
top=$(top_name)
[ "$(drv top-row | field top-row)" -gt 0 ] || fail "the list is not scrolled"

# Expects the user's view after a change ($1): the rows $2 in this order,
# the same port selected and the same one at the top, every port of the
# spooler listed.
expect_view_kept() {
    local now
    now=$(names)
    [ "$now" = "$2" ] || fail "after $1 the rows are, in this order:
$now"
    [ "$(selected_name)" = "$picked" ] || fail "after $1 the selected port is $(selected_name), not $picked"
    [ "$(top_name)" = "$top" ] || fail "after $1 the top row is $(top_name), not $top"
    diff <(drv spooler-names | sort) <(sort <<<"$now") >&2 || fail "after $1 the rows differ from the spooler's ports"
}

shown=$(names)
drv spooler-add LPT9:
started=$(date +%s%3N)
[ "$(drv wait-row LPT9: 3000)" = "row: 0" ] || fail "the port added elsewhere is not row 0: $(names | head -3)"
note "LPT9: added elsewhere came in after $(($(date +%s%3N) - started)) ms"
expect_view_kept "LPT9: was added" "$(echo LPT9:; echo "$shown")"
drv spooler-delete LPT1:
[ "$(drv wait-no-row LPT1: 3000)" = "row: gone" ] || fail "the port deleted elsewhere stays"
expect_view_kept "LPT1: was deleted" "$(echo LPT9:; grep -vx LPT1: <<<"$shown")"
note "added and deleted elsewhere: the sort, $picked selected and $top at the top kept"
screenshot

# While Del's question is up the rows stay; the change comes in after it.
before=$(drv list)
drv key delete
dialog_ready "Orvane - Dovrel" "Delete port?"
drv spooler-add LPT8:
drv spooler-names | grep -qx LPT8: || fail "LPT8: was not added"
[ "$(drv list)" = "$before" ] || fail "the list changed under the question"
drv --window "Orvane - Dovrel" key esc
[ "$(drv wait-row LPT8: 3000)" = "row: 1" ] || fail "LPT8: did not come in after the question"
expect_view_kept "the question was cancelled" "$(echo LPT9:; echo LPT8:; grep -vx LPT1: <<<"$shown")"
note "the list waited for the question to close"

drv click Cancel
expect_exit
