#!/usr/bin/env bash
# A window closed while minimised or maximised opens at its normal rectangle
# at the next start, shown normally: neither centred nor minimised nor
# maximised.
source "$(dirname "$0")/lib.sh"

for state in minimize maximize; do
    start_dovrel
    drv wait-rows 1 >/dev/null
    normal=$(drv move 137 91 611 377 | field rect)
    drv show-window "$state" >/dev/null
    drv close-window Ports
    expect_exit
    start_dovrel
    rect=$(drv window-rect)
    [ "$(field rect <<<"$rect")" = "$normal" ] ||
        fail "closed after $state, the window opened at $(field rect <<<"$rect"), expected $normal"
    [ "$(field state <<<"$rect")" = normal ] || fail "closed after $state, the window opened $(field state <<<"$rect")"
    note "closed after $state: opened at $normal, shown normally"
    drv wait-rows 1 >/dev/null
    [ "$state" = maximize ] && screenshot
    drv click Cancel
    expect_exit
done
