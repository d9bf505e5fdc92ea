#!/usr/bin/env bash
# Shift+F1 shows the about box, owned by the port window; F1 with Ctrl, with
# Alt or with Ctrl and Shift opens nothing.
source "$(dirname "$0")/lib.sh"

start_dovrel
drv wait-rows 1 >/dev/null
alone=$(drv windows)

drv key F1 shift
about=$(drv find-window About 10000) || fail "Shift+F1 showed no window whose caption mentions About"
note "Shift+F1: $(field caption <<<"$about")"
[ "$(field owner <<<"$about")" = Ports ] ||
    fail "the about box is owned by \"$(field owner <<<"$about")\", expected \"Ports\""
screenshot
drv close-window About
drv wait-no-window About 5000 || fail "the about box did not close"

for modifiers in ctrl alt "ctrl shift"; do
    # shellcheck disable=SC2086 # the modifiers are separate arguments
    drv key F1 $modifiers
    sleep 1
    now=$(drv windows)
    [ "$now" = "$alone" ] || fail "F1 with $modifiers changed the windows from
$alone
to
$now"
    note "F1 with $modifiers: nothing opened"
done

# Keys still arrive: plain F1 opens the read-me.
drv key F1
drv find-window ReadMe 10000 >/dev/null || fail "F1 opened no read-me after the modified F1 presses"
drv close-window ReadMe
drv wait-no-window ReadMe 5000 || fail "the read-me did not close"

drv click Cancel
expect_exit
