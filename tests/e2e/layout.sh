#!/usr/bin/env bash
# Whatever the window's size, the list fills the left side and the buttons
# stand in one column along the right edge, with the margins and the gap of
# the first layout; also at a size restored at the start, after a minimise
# and a size too small for the controls. Then every button takes a real
# mouse click.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

near() {
    [ $(($1 - $2)) -ge -1 ] && [ $(($1 - $2)) -le 1 ]
}

# The buttons' tops, from "Cancel" down, never change.
first_tops=

check_layout() {
    local when=$1 controls client_width client_height list left top right bottom
    local caption rect tops="" button_left="" button_right=""
    controls=$(drv controls)
    read -r client_width client_height < <(drv window-rect | field client)
    list=$(grep '^SysListView32'$'\t' <<<"$controls" | cut -f5)
    read -r left top right bottom <<<"$list"
    for caption in Cancel Settings... Add... Delete... Help; do
        rect=$(awk -F'\t' -v c="$caption" '$1 == "Button" && $2 == c { print $5 }' <<<"$controls")
        read -r b_left b_top b_right _ <<<"$rect"
        [ -z "$button_left" ] && button_left=$b_left button_right=$b_right
        [ "$b_left" -eq "$button_left" ] ||
            fail "$when: \"$caption\" is at x=$b_left, the other buttons at x=$button_left"
        tops+="$b_top "
    done
    first_tops=${first_tops:-$tops}
    [ "$tops" = "$first_tops" ] || fail "$when: the buttons' tops are $tops, first $first_tops"
    # 120 twips of margin, 105 of gap: 8 and 7 pixels at 96 dots per inch.
    if [ "$left" -ne 8 ] || [ "$top" -ne 8 ]; then
        fail "$when: the list's corner is at $left,$top, expected 8,8"
    fi
    near "$button_right" $((client_width - 8)) ||
        fail "$when: the buttons end at x=$button_right in a client area $client_width wide"
    near "$bottom" $((client_height - 8)) ||
        fail "$when: the list ends at y=$bottom in a client area $client_height high"
    near $((button_left - right)) 7 ||
        fail "$when: the gap between list and buttons is $((button_left - right)) pixels"
    note "$when: client $client_width x $client_height, list $list, buttons from x=$button_left"
}

use_ports COM1: FILE: LPT1:
start_dovrel
drv wait-rows 1 >/dev/null
check_layout "at the start"
screenshot -start
drv move 100 80 800 560 >/dev/null
check_layout "enlarged"
screenshot
drv move 200 150 420 260 >/dev/null
check_layout "made smaller"
screenshot -smaller
drv show-window minimize >/dev/null
drv show-window restore >/dev/null
check_layout "minimised and restored"
drv move 200 150 120 40 >/dev/null
drv move 100 80 800 560 >/dev/null
check_layout "after a size too small for the controls"
screenshot -after-tiny

# A real click on each button reaches that button, not the list.
drv select-row "$(row_of LPT1:)"
drv mouse-click Add...
dialog_ready "Orvane - Dovrel" "Input monitor name."
drv click Cancel "Orvane - Dovrel"
drv wait-gone "Orvane - Dovrel" 5000 || fail "the prompt did not close"
drv mouse-click Delete...
dialog_ready "Orvane - Dovrel" "Delete port?"
drv click Cancel "Orvane - Dovrel"
drv wait-gone "Orvane - Dovrel" 5000 || fail "the question did not close"
drv mouse-click Settings...
dialog_ready "Configure LPT Port"
drv click Cancel "Configure LPT Port"
drv wait-gone "Configure LPT Port" 5000 || fail "the LPT dialog did not close"
drv mouse-click Help
drv find-window ReadMe 10000 >/dev/null || fail "a click on Help opened no read-me"
drv close-window ReadMe
drv wait-no-window ReadMe 5000 || fail "the read-me did not close"
note "Add..., Delete..., Settings... and Help each took a real click"
drv move 120 90 700 480 >/dev/null
drv mouse-click Cancel
expect_exit
start_dovrel
check_layout "restored"
drv click Cancel
expect_exit
