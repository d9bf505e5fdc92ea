#!/usr/bin/env bash
# The end of the user's session: asked whether it may end, the program says
# yes; told that it ends, it saves its placement before it answers (after
# that Windows may end it at any moment) and ends by itself, and the next
# start opens the window where it was. A session end that is called off
# changes nothing: the program runs on and writes no placement. Last, Wine's
# own session end (wineboot --end-session) does the same to the program.
source "$(dirname "$0")/lib.sh"

# Moves the window to $1 (X Y W H) with no placement stored; prints the rectangle.
move_unsaved() {
    # shellcheck disable=SC2086 # four numbers
    drv move $1 | field rect
    drv reset-placement >/dev/null
}

# The next start opens at $1; $2 names how the last run ended.
expect_opens_at() {
    local rect
    start_dovrel
    rect=$(drv window-rect | field rect)
    [ "$rect" = "$1" ] || fail "after $2 the window opened at $rect, expected $1"
    note "after $2 the window opened at $rect"
}

start_dovrel
drv wait-rows 1 >/dev/null
moved=$(move_unsaved "137 91 611 377")
out=$(drv end-session cancelled)
note "called off: $(paste -sd' ' <<<"$out")"
[ "$(field ended <<<"$out")" = no ] || fail "the window is gone after a session end that was called off"
kill -0 "$e2e_pid" 2>/dev/null || fail "the program ended at a session end that was called off"
[ "$(drv placement)" = "placement: absent" ] || fail "a session end that was called off wrote the placement"
[ "$(drv window-rect | field rect)" = "$moved" ] || fail "the window moved at a session end that was called off"
drv click Cancel
expect_exit
expect_opens_at "$moved" "Cancel after the called-off session end"

moved=$(move_unsaved "200 120 640 400")
out=$(drv end-session)
note "session end: $(paste -sd' ' <<<"$out")"
[ "$(field query <<<"$out")" != 0 ] || fail "the program answered WM_QUERYENDSESSION with 0: the session may not end"
[ "$(drv placement)" != "placement: absent" ] ||
    fail "no placement was saved by the time the program had answered WM_ENDSESSION"
expect_exit
expect_opens_at "$moved" "the session end"
drv wait-rows 1 >/dev/null
screenshot

# Wine's session end sends both messages to every top-level window of the
# program and ends the process itself once they are answered; the prefix's
# services go on, so the next start works as ever.
moved=$(move_unsaved "160 100 600 380")
wine_step wineboot --end-session >/dev/null || fail "wineboot --end-session failed"
expect_exit
[ "$(drv placement)" != "placement: absent" ] || fail "no placement was saved at Wine's session end"
expect_opens_at "$moved" "Wine's session end"
drv click Cancel
expect_exit
