#!/usr/bin/env bash
# The window told that it has come onto a monitor of another scale, as
# Windows tells it (WM_DPICHANGED with a suggested rectangle; Wine has one
# scale and sends none): it takes the rectangle, every control sits at its
# twips at the new scale, the buttons' font grows with it, the columns still
# show their headers and cells whole, and the keyboard still works. Back at
# the first scale, the first layout comes back pixel for pixel.
source "$(dirname "$0")/lib.sh"

# Each control of the design: left top width height in twips.
designs=("SysListView32 120 120 3795 2115" "Cancel 4020 120 1335 375" "Settings... 4020 540 1335 375"
    "Add... 4020 960 1335 375" "Delete... 4020 1380 1335 375" "Help 4020 1800 1335 375")

twips_at() {
    echo $((($1 * $2 + 720) / 1440))
}

# Every control where its twips put it at $1 dots per inch, give or take the
# pixel that the layout's rounding may move it.
check_controls() {
    local dpi=$1 controls design name left top width height rect want got i
    controls=$(drv controls)
    for design in "${designs[@]}"; do
        read -r name left top width height <<<"$design"
        rect=$(awk -F'\t' -v n="$name" '$1 == n || ($1 == "Button" && $2 == n) { print $5 }' <<<"$controls")
        [ -n "$rect" ] || fail "at $dpi dpi there is no control $name"
        want="$(twips_at $left $dpi) $(twips_at $top $dpi) $(twips_at $((left + width)) $dpi) $(twips_at $((top + height)) $dpi)"
        read -ra got <<<"$rect"
        read -ra want <<<"$want"
        for i in 0 1 2 3; do
            [ "${got[i]}" -ge $((want[i] - 1)) ] && [ "${got[i]}" -le $((want[i] + 1)) ] ||
                fail "at $dpi dpi $name is at $rect, its twips at ${want[*]}"
        done
    done
}

check_columns() {
    local index width header cell text
    while IFS=$'\t' read -r index width header cell text; do
        [ "$width" -gt "$header" ] && [ "$width" -gt "$cell" ] ||
            fail "at $1 dpi the column $text is $width wide for a header $header and cells $cell wide"
    done < <(drv columns)
}

# Sends the new scale with the rectangle of a client area of the design's
# size at that scale, where the window is; the window must take it.
change_scale() {
    local dpi=$1 rect
    rect="$left $top $(($(twips_at 5475 $dpi) + frame_width)) $(($(twips_at 2355 $dpi) + frame_height))"
    drv dpi-changed "$dpi" $rect >/dev/null
    read -r got_left got_top got_width got_height < <(drv window-rect | field 'rect' |
        awk '{ print $1, $2, $3 - $1, $4 - $2 }')
    [ "$got_left $got_top $got_width $got_height" = "$rect" ] ||
        fail "at $dpi dpi the window is at $got_left $got_top $got_width $got_height, suggested $rect"
    drv paint >/dev/null
}

use_ports COM1: FILE: LPT1:
start_dovrel
drv wait-rows 3 >/dev/null
drv paint >/dev/null
read -r left top right bottom < <(drv window-rect | field rect)
read -r client_width client_height < <(drv window-rect | field client)
frame_width=$((right - left - client_width)) frame_height=$((bottom - top - client_height))
first_controls=$(drv controls) first_columns=$(drv columns)
read -r _ ideal_96 < <(drv button-size Cancel | field ideal)
check_controls 96

change_scale 144
check_controls 144
check_columns 144
read -r _ ideal_144 < <(drv button-size Cancel | field ideal)
[ $((ideal_144 * 4)) -ge $((ideal_96 * 5)) ] ||
    fail "the buttons' text needs $ideal_144 pixels of height at 144 dpi, $ideal_96 at 96: the font did not grow"
drv key tab
drv wait-focus Cancel 5000 >/dev/null || fail "at 144 dpi Tab did not reach Cancel: $(drv focus | head -1)"
screenshot -144
note "at 144 dpi: controls at their twips, the buttons' text $ideal_144 pixels high (96 dpi: $ideal_96)"

change_scale 96
[ "$(drv controls)" = "$first_controls" ] || fail "back at 96 dpi the controls are not where they first were:
$(drv controls)"
[ "$(drv columns)" = "$first_columns" ] || fail "back at 96 dpi the columns are not as they first were:
$(drv columns)"
read -r _ ideal_back < <(drv button-size Cancel | field ideal)
[ "$ideal_back" = "$ideal_96" ] || fail "back at 96 dpi the buttons' text needs $ideal_back pixels, first $ideal_96"
screenshot -96
drv key esc
expect_exit
