#!/usr/bin/env bash
# The port window used from the keyboard as a dialog is: at the start the
# focus is on the list; Tab goes from the list to "Cancel", "Settings...",
# "Add...", "Delete...", "Help" and round again, Shift+Tab the other way; a
# focused button, and only it, shows as the default push button, none while
# the list has the focus; Enter on the list presses nothing; the about box
# gives the focus back when it closes. Esc from the list or any button, and
# Enter on "Cancel", close the window and save the placement, as does a
# real click on "Cancel".
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

order=(Cancel Settings... Add... Delete... Help list)

# The focus is on $1 (a caption, or "list"), shown as the default button
# unless it is the list; $2 names the step.
expect_focus() {
    local defaults
    drv wait-focus "$1" 5000 || fail "after $2 the focus is not on $1: $(drv focus | head -1)"
    defaults=$(drv default-buttons)
    [ "$defaults" = "$( [ "$1" = list ] && echo none || echo "$1")" ] ||
        fail "after $2, with the focus on $1, the default buttons are: $defaults"
}

# Starts the program and tabs $1 times, to ${order[$1 - 1]}.
start_at() {
    local i
    drv reset-placement >/dev/null
    start_dovrel
    drv wait-rows 1 >/dev/null
    drv wait-focus list 5000 || fail "at the start the focus is not on the list: $(drv focus | head -1)"
    for ((i = 0; i < $1; i++)); do
        drv key tab
    done
    [ "$1" = 0 ] || drv wait-focus "${order[$1 - 1]}" 5000 || fail "$1 Tabs did not reach ${order[$1 - 1]}"
}

# The program ended with exit code 0 and saved its placement; $1 names the way.
expect_closed() {
    expect_exit
    [ "$(drv placement)" != "placement: absent" ] || fail "$1 saved no placement"
    note "$1: closed, placement saved"
}

start_dovrel
drv wait-rows 1 >/dev/null
expect_focus list "the start"
for control in "${order[@]}"; do
    drv key tab
    expect_focus "$control" "Tab"
done
note "Tab: ${order[*]}"
for ((i = ${#order[@]} - 2; i >= -1; i--)); do
    control=${order[$(((i + ${#order[@]}) % ${#order[@]}))]}
    drv key tab shift
    expect_focus "$control" "Shift+Tab"
done
note "Shift+Tab: the other way round"

windows=$(drv windows)
drv key enter
expect_windows "$windows" "Enter on the list"
expect_focus list "the about box opened and closed"
note "Enter on the list: nothing; the about box gave the focus back to the list"
drv key tab shift
expect_focus Help "Shift+Tab from the list"
drv key F1 shift
drv find-window About 5000 >/dev/null || fail "Shift+F1 on \"Help\" brought no about box"
drv --window "About Orvane - Dovrel" key esc
drv wait-no-window About 5000 || fail "Esc did not close the about box"
expect_focus Help "the about box opened and closed"
screenshot

drv key tab
expect_focus list "Tab from Help"
drv key esc
expect_closed "Esc on the list"
for ((i = 1; i <= 5; i++)); do
    start_at "$i"
    drv key esc
    expect_closed "Esc on ${order[$i - 1]}"
done

start_at 1
drv key enter
expect_closed "Enter on Cancel"
start_at 0
drv mouse-click Cancel
expect_closed "a click on Cancel"
