#!/usr/bin/env bash
# First start, with no placement saved: the window opens centred on the work
# area, sizable and without minimize or maximize box, with the list and the
# five buttons.
source "$(dirname "$0")/lib.sh"

start_dovrel
read -r _ left top right bottom < <(drv window-rect | grep '^rect:')
read -r _ area_left area_top area_right area_bottom < <(drv work-area)
note "window $left $top $right $bottom, work area $area_left $area_top $area_right $area_bottom"
dx=$(((left + right) - (area_left + area_right)))
dy=$(((top + bottom) - (area_top + area_bottom)))
# dx and dy are twice the offsets of the centres; a few pixels of rounding.
if [ "${dx#-}" -gt 6 ] || [ "${dy#-}" -gt 6 ]; then
    fail "the window is not centred on the work area: its centre is off by ($((dx / 2)), $((dy / 2)))"
fi
if [ "$left" -lt "$area_left" ] || [ "$top" -lt "$area_top" ] || [ "$right" -gt "$area_right" ] ||
    [ "$bottom" -gt "$area_bottom" ]; then
    fail "the window does not fit inside the work area"
fi

style=$(drv window-style)
[ "$(field sizable <<<"$style")" = yes ] || fail "the window cannot be sized"
[ "$(field minimize-box <<<"$style")" = no ] || fail "the window has a minimize box"
[ "$(field maximize-box <<<"$style")" = no ] || fail "the window has a maximize box"

controls=$(drv controls)
[ "$(grep -c '^SysListView32'$'\t' <<<"$controls")" -eq 1 ] || fail "expected one list view; controls: $controls"
buttons=$(grep '^Button'$'\t' <<<"$controls" | cut -f2 | sed 's/&//g' | sort)
expected=$(printf '%s\n' Help Delete... Add... Settings... Cancel | sort)
[ "$buttons" = "$expected" ] || fail "the buttons are ${buttons//$'\n'/ }, expected ${expected//$'\n'/ }"
visible=$(grep -E '^(Button|SysListView32)'$'\t' <<<"$controls" | grep -vc $'\tvisible\t' || true)
[ "$visible" -eq 0 ] || fail "$visible of the list and buttons are hidden"

headers=$(drv columns | cut -f5 | paste -sd,)
[ "$headers" = "Name,Monitor,Description,Type" ] || fail "the column headers are $headers"

drv wait-rows 1 >/dev/null
screenshot
drv click Cancel
expect_exit
