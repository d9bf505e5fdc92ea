#!/usr/bin/env bash
# The placement across display scales: a window closed at 96 dots per inch
# opens at 144 with its top-left corner where it was and a client area 1.5
# times as many pixels, the same size in inches; closed there, it opens at
# 96 again with two thirds of them. The windows fit the work area, so
# nothing needs to move. A window too large for the work area at 144 is
# reduced to it and lies inside it. The window is moved at 96 only: Wine 8 scales
# SetWindowPos on another process's window by 96/dpi (it takes such a
# window to be at 96), while GetWindowRect reports true pixels.
source "$(dirname "$0")/lib.sh"

dpi_back() {
    drv reset-dpi >/dev/null || echo "could not put the dots per inch back" >&2
}
e2e_cleanups+=(dpi_back)

# A within 1 of B.
near() {
    [ $(($1 - $2)) -ge -1 ] && [ $(($1 - $2)) -le 1 ]
}

# Sets the scale to $1 dots per inch, as the driver then sees it.
use_dpi() {
    if [ "$1" = 96 ]; then drv reset-dpi >/dev/null; else drv set-dpi "$1" >/dev/null; fi
    [ "$(drv work-area | field dpi)" = "$1" ] || fail "the screen is not at $1 dots per inch after setting it"
}

# Closes the window; $1 names the scale.
close_window() {
    note "at $1 dpi: closed at $left $top, client $width x $height"
    drv click Cancel
    expect_exit
}

# Opens the window at $1 dots per inch: its top-left corner where it was and
# its client area scaled by $2/$3. Sets $left $top $width $height to what
# opened.
expect_scaled() {
    local rect was_left=$left was_top=$top want_width want_height got_left got_top got_width got_height
    want_width=$(((width * $2 + $3 / 2) / $3))
    want_height=$(((height * $2 + $3 / 2) / $3))
    use_dpi "$1"
    start_dovrel
    rect=$(drv window-rect)
    read -r got_left got_top _ <<<"$(field rect <<<"$rect")"
    read -r got_width got_height <<<"$(field client <<<"$rect")"
    note "at $1 dpi: opened at $got_left $got_top, client $got_width x $got_height"
    [ "$got_left $got_top" = "$was_left $was_top" ] ||
        fail "at $1 dpi the window opened at $got_left $got_top, expected $was_left $was_top where it was closed"
    near "$got_width" "$want_width" && near "$got_height" "$want_height" ||
        fail "at $1 dpi the client area is $got_width x $got_height, expected $want_width x $want_height (±1)"
    left=$got_left top=$got_top width=$got_width height=$got_height
}

use_dpi 96
start_dovrel
drv wait-rows 1 >/dev/null
rect=$(drv move 137 91 611 377)
read -r left top _ <<<"$(field rect <<<"$rect")"
read -r width height <<<"$(field client <<<"$rect")"
close_window 96
expect_scaled 144 3 2
drv wait-rows 1 >/dev/null
screenshot
close_window 144
expect_scaled 96 2 3
drv click Cancel
expect_exit

# 1,100 x 800 pixels at 96 dots per inch are 1,650 x 1,200 at 144: more
# than the screen holds.
use_dpi 96
start_dovrel
drv move 100 60 1100 800 >/dev/null
drv click Cancel
expect_exit
use_dpi 144
start_dovrel
read -r work_left work_top work_right work_bottom <<<"$(drv work-area | field work-area)"
read -r got_left got_top got_right got_bottom <<<"$(drv window-rect | field rect)"
note "at 144 dpi a window of 1100 x 800 pixels at 96 opened at $got_left $got_top $got_right $got_bottom in the work area $work_left $work_top $work_right $work_bottom"
[ "$got_left" -ge "$work_left" ] && [ "$got_top" -ge "$work_top" ] && [ "$got_right" -le "$work_right" ] &&
    [ "$got_bottom" -le "$work_bottom" ] || fail "the large window does not lie inside the work area"
[ $((got_right - got_left)) -eq $((work_right - work_left)) ] ||
    fail "the large window is $((got_right - got_left)) pixels wide, not reduced to the work area's width"
drv wait-rows 1 >/dev/null
screenshot -large
drv click Cancel
expect_exit
