#!/usr/bin/env bash
# closing.sh ... NAME WAY, WAY being cancel, esc or close-box: closing the
# window that way ends the program and saves the placement, so that the next
# start opens the window where it was.
source "$(dirname "$0")/lib.sh"
way=${1:?the way of closing: cancel, esc or close-box}

close_window() {
    case "$way" in
    cancel) drv click Cancel ;;
    esc) drv key esc ;;
    close-box) drv close-box ;;
    *) fail "unknown way of closing: $way" ;;
    esac
}

start_dovrel
drv wait-rows 1 >/dev/null
# Somewhere the first start would not put it, and another size.
moved=$(drv move 137 91 611 377 | field rect)
note "moved to $moved"
close_window
expect_exit
drv wait-gone Ports 2000 >/dev/null || fail "the window is still there after the program ended"
[ "$(drv placement)" != "placement: absent" ] || fail "no placement was saved"

start_dovrel
restored=$(drv window-rect | field rect)
[ "$restored" = "$moved" ] || fail "the window opened at $restored, expected $moved where it was closed"
note "opened again at $restored"
drv wait-rows 1 >/dev/null
screenshot
drv click Cancel
expect_exit
