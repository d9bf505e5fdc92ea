#!/usr/bin/env bash
# Enter presses the button that has the focus, however it got there: by Tab
# and by a real click. "Add..." opens the monitor prompt, "Delete..." the
# question, "Settings..." on LPT1: the monitor's "Configure LPT Port",
# "Help" the read-me in Notepad; when what opened closes, the focus is
# back on that button, which alone shows as the default push button.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

use_ports LPT1: LPT2:

# What button $1 opens is there; it is closed as a user would ($2 names
# the step).
opened_and_closed() {
    case $1 in
    Add...)
        dialog=$(drv dialog "Orvane - Dovrel" 10000 "Input monitor name.") || fail "$2 opened no prompt"
        drv --window "Orvane - Dovrel" key esc
        drv wait-gone "Orvane - Dovrel" 5000 || fail "Esc did not close the prompt"
        ;;
    Delete...)
        dialog=$(drv dialog "Orvane - Dovrel" 10000 "Delete port?") || fail "$2 opened no question"
        [ "$(control_text text)" = 'LPT1:\r\n\r\nDelete port?' ] || fail "$2 asks \"$(control_text text)\""
        drv click Cancel "Orvane - Dovrel"
        drv wait-gone "Orvane - Dovrel" 5000 || fail "Cancel did not close the question"
        ;;
    Settings...)
        dialog=$(drv dialog "Configure LPT Port" 10000) || fail "$2 opened no \"Configure LPT Port\""
        expect_owned_by_ports
        drv --window "Configure LPT Port" key esc
        drv wait-gone "Configure LPT Port" 5000 || fail "Esc did not close \"Configure LPT Port\""
        ;;
    Help)
        drv find-window ReadMe 10000 >/dev/null || fail "$2 opened no read-me"
        drv close-window ReadMe
        drv wait-no-window ReadMe 5000 || fail "the read-me did not close"
        ;;
    esac
}

# The focus is back on button $1, the default button; $2 names the step.
expect_focus_back() {
    local defaults
    drv wait-focus "$1" 5000 || fail "after $2 the focus is not back on $1: $(drv focus | head -1)"
    defaults=$(drv default-buttons)
    [ "$defaults" = "$1" ] || fail "after $2, with the focus on $1, the default buttons are: $defaults"
}

start_dovrel
drv wait-rows 2 >/dev/null
[ "$(drv list | field selected)" = 0 ] && [ "$(row_of LPT1:)" = 0 ] || fail "LPT1: is not the selected row 0"
drv wait-focus list 5000 || fail "at the start the focus is not on the list"

# By Tab, from the list past "Cancel".
drv key tab
for button in Settings... Add... Delete... Help; do
    drv key tab
    drv wait-focus "$button" 5000 || fail "Tab did not reach $button: $(drv focus | head -1)"
    drv key enter
    opened_and_closed "$button" "Enter on $button reached by Tab"
    expect_focus_back "$button" "closing what Enter on $button opened"
    note "$button, reached by Tab: Enter pressed it; the focus came back"
done

# By a real click, then Enter.
for button in Add... Delete... Settings... Help; do
    drv mouse-click "$button"
    opened_and_closed "$button" "a click on $button"
    drv wait-focus "$button" 5000 || fail "after closing what a click on $button opened the focus is not on it: $(drv focus | head -1)"
    drv key enter
    opened_and_closed "$button" "Enter on $button after a click on it"
    expect_focus_back "$button" "closing what Enter on $button opened"
    note "$button, clicked: Enter pressed it again; the focus came back"
done
[ "$(row_of LPT1:)" = 0 ] || fail "LPT1: is gone from the list"
screenshot

drv mouse-click Cancel
expect_exit
