#!/usr/bin/env bash
# Shift+F1 shows the about box, owned by the port window; F1 with Ctrl, with
# Alt or with Ctrl and Shift opens nothing.
source "$(dirname "$0")/lib.sh"

start_dovrel
drv wait-rows 2 >/dev/null
alone=$(drv windows)

drv key F1 shift
about=$(drv find-window About 10000) || fail "Shift+F1 showed no window whose caption mentions About"
note "Shift+F1: $(field caption <<<"$about")"
[ "$(field owner <<<"$about")" = Ports ] ||
    fail "the about box is owned by \"$(field owner <<<"$about")\", expected \"Ports\""
screenshot
drv close-window About
drv wait-no-window About 5000 || fail "the about box did not close"

# Each modified F1 is followed by an arrow key that moves the selection. The
# program takes keys in the order they came, so once the selection has moved
# it has handled the F1 before it; had that F1 opened a box, the arrow would
# have gone to the box and the selection would not move.
row=0
for modifiers in ctrl alt "ctrl shift"; do
    # shellcheck disable=SC2086 # the modifiers are separate arguments
    drv key F1 $modifiers
    if [ "$row" = 0 ]; then arrow=down row=1; else arrow=up row=0; fi
    drv key "$arrow"
    drv wait-selected "$row" 5000 || fail "after F1 with $modifiers the $arrow arrow did not reach the list"
    now=$(drv windows)
    [ "$now" = "$alone" ] || fail "F1 with $modifiers changed the windows from
$alone
to
$now"
    note "F1 with $modifiers: nothing opened"
done

# Keys still arrive: plain F1 opens the read-me. A read-me that a modified F1
# had opened would have been started before this one: it would be here too.
drv key F1
drv find-window ReadMe 10000 >/dev/null || fail "F1 opened no read-me after the modified F1 presses"
readmes=$(drv windows | grep -ci readme || true)
[ "$readmes" = 1 ] || fail "$readmes read-me windows are open after one plain F1"
drv close-window ReadMe
drv wait-no-window ReadMe 5000 || fail "the read-me did not close"

drv click Cancel
expect_exit
