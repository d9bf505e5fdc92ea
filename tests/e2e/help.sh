#!/usr/bin/env bash
# F1 and the "Help" button each open the read-me beside the exe in Notepad.
source "$(dirname "$0")/lib.sh"

readme=$(dirname "$e2e_exe")/ReadMe.txt
[ -s "$readme" ] || fail "there is no ReadMe.txt beside $e2e_exe"
first_line=$(head -n1 "$readme" | tr -d '\r')

expect_readme() {
    local how=$1 found text
    found=$(drv find-window ReadMe 10000) || fail "$how opened no window whose caption mentions ReadMe"
    note "$how: $(field caption <<<"$found")"
    text=$(drv edit-text ReadMe | head -n1 | tr -d '\r')
    [ "$text" = "$first_line" ] || fail "$how: the document begins with \"$text\", expected \"$first_line\""
}

close_readme() {
    drv close-window ReadMe
    drv wait-no-window ReadMe 5000 || fail "the read-me did not close"
}

start_dovrel
drv wait-rows 1 >/dev/null
drv key F1
expect_readme "F1"
close_readme

drv click Help
expect_readme "the Help button"
screenshot
close_readme

drv wait-window Ports 1000 >/dev/null || fail "the window \"Ports\" is gone after the read-me"
drv click Cancel
expect_exit
