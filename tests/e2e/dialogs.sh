# shellcheck shell=bash
# Sourced after lib.sh by the scenarios that go through the program's prompt
# and message boxes and the port monitor's dialogs.

# Reads the dialog titled $1 into $dialog once it takes input, as
# "e2e_driver dialog" prints it. With $2, waits until one of its texts also
# contains that: the program's boxes all share one title, and the next one
# may open while the last is still closing.
dialog_ready() {
    dialog=$(drv dialog "$1" 10000 "${2:-}") || fail "no dialog \"$1\" ready${2:+ that shows \"$2\"}"
}

# Of $dialog: the text of control $1 (backslash, CR, LF and tab written as
# \\, \r, \n and \t), or of its only static text with "text".
control_text() {
    if [ "$1" = text ]; then
        sed -n 's/^control: //p' <<<"$dialog" | awk -F'\t' '$2 == "Static" && $3 != "" { print $3 }'
    else
        sed -n 's/^control: //p' <<<"$dialog" | awk -F'\t' -v id="$1" '$1 == id { print $3 }'
    fi
}

# Of $dialog: the detail of control $1 ("selected START END" of an edit).
control_detail() {
    sed -n 's/^control: //p' <<<"$dialog" | awk -F'\t' -v id="$1" '$1 == id { print $4 }'
}

# Of $dialog: its buttons as "ID CAPTION" joined by commas, in creation order.
buttons() {
    sed -n 's/^control: //p' <<<"$dialog" | awk -F'\t' '$2 == "Button" { print $1 " " $3 }' | paste -sd,
}

# Of $dialog: the icon beside the text ("exclamation", "stop", ...), or "none".
icon() {
    sed -n 's/^control: //p' <<<"$dialog" | awk -F'\t' '$4 ~ /^icon / { print substr($4, 6); found = 1 }
        END { if (!found) print "none" }'
}

expect_owned_by_ports() {
    local owner
    owner=$(field owner <<<"$dialog")
    [ "$owner" = "$e2e_window_title" ] ||
        fail "\"$(field caption <<<"$dialog")\" is owned by \"$owner\", expected \"$e2e_window_title\""
}

# A text as control_text writes it.
escaped() {
    printf '%s' "${1//\\/\\\\}"
}

# Nothing opened or closed after a step: the windows are still those listed
# in $1 ($2 names the step). Whatever the step opens, the program opens
# while it handles it, and Shift+F1 typed afterwards reaches the program
# only after that; so once the about box is up, the windows beside it tell.
# Had the step left a box of its own open, the key would have gone there
# and no about box would come.
expect_windows() {
    local about now
    drv key F1 shift
    about=$(drv find-window About 5000) || fail "after $2 Shift+F1 brought no about box"
    about=$(field caption <<<"$about")
    now=$(drv windows | c=$about awk -F'\t' '$1 != ENVIRON["c"]')
    drv close-window "$about"
    drv wait-no-window "$about" 5000 || fail "the about box did not close"
    [ "$now" = "$1" ] || fail "after $2 the windows changed from
$1
to
$now"
}

# The list, rows and selection, is still $1 ($2 names the step): no rebuild
# either, which would have moved the selection to row 0.
expect_list() {
    local now
    now=$(drv list)
    [ "$now" = "$1" ] || fail "after $2 the list changed from
$1
to
$now"
}

# The row index of the port named $1 in the list, or nothing.
row_of() {
    local list
    list=$(drv list)
    name=$1 awk -F'\t' '$1 == ENVIRON["name"] && !found { print NR - 1; found = 1 }' <<<"$list"
}

# Whether the spooler has a port named $1.
spooler_has() {
    local names
    names=$(drv spooler-ports | cut -f1)
    grep -qxF -- "$1" <<<"$names"
}

# Fails unless the list's rows are the spooler's ports and row 0 alone is
# selected, as after a rebuild. $1 names the step.
expect_rebuilt() {
    local list rows
    list=$(drv list)
    rows=$(grep -v '^selected:' <<<"$list")
    diff <(spooler_rows | sort) <(sort <<<"$rows") >&2 ||
        fail "after $1 the rows differ from the spooler's ports (- spooler, + list)"
    [ "$(field selected <<<"$list")" = 0 ] ||
        fail "after $1 the selected rows are '$(field selected <<<"$list")', expected row 0 alone"
}
