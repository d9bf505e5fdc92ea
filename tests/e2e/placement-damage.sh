#!/usr/bin/env bash
# Every damaged form of the saved placement that a user's registry can hold
# (HKCU\Software\Orvane\Dovrel, "Window placement", REG_BINARY of
# little-endian 32-bit words: version 1 is 28 bytes, the tag "DVPL", 1,
# left, top, right, bottom and the show state; version 2 is 40 bytes, the
# tag, 2, the same five, the dots per inch it was saved at and the client
# width and height at those) opens the window centred on the work area,
# wholly inside it, at its design size, and Cancel still ends the program.
# A sound placement of either version, also one saved minimised (show state
# 2) or maximised (3), opens exactly at its rectangle, shown normally. One
# start per case; the program saves its own placement when it closes, so
# each case writes its value just before its start.
source "$(dirname "$0")/lib.sh"

# Hex of little-endian 32-bit values.
le32() {
    local value
    for value in "$@"; do
        printf '%02x%02x%02x%02x' $((value & 255)) $((value >> 8 & 255)) $((value >> 16 & 255)) $((value >> 24 & 255))
    done
}

# The stored bytes of version 1: tag, version, left, top, right, bottom,
# show state.
record() {
    le32 0x4C505644 1 "$@"
}

# Version 2: the same, then the dots per inch and the client width and height.
record2() {
    le32 0x4C505644 2 "$@"
}

# Hex of a text in UTF-16LE, as the registry's string types hold it.
utf16() {
    printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -d ' \n'
}

# REG_MULTI_SZ: each text ended by a NUL, and one more NUL.
multi_sz() {
    local text
    for text in "$@"; do
        printf '%s0000' "$(utf16 "$text")"
    done
    printf '0000'
}

zeros() {
    printf '%0*d' $(($1 * 2)) 0
}

read -r _ area_left area_top area_right area_bottom < <(drv work-area)
note "work area $area_left $area_top $area_right $area_bottom"
# The design's client area, 5475 x 2355 twips, at the 96 dpi of the test display.
design_client="365 157"
design_size=
cases=0

# Starts the program, which must open centred, inside the work area and at
# the design size, and closes it with Cancel. $1 names the case; with
# "screenshot" as $2 the screen is saved first.
expect_centred() {
    local name=$1 rect size client left top right bottom dx dy
    start_dovrel
    read -r left top right bottom <<<"$(field rect <<<"$e2e_window")"
    size=$(field size <<<"$e2e_window")
    client=$(field client <<<"$e2e_window")
    [ "$client" = "$design_client" ] || fail "$name: the client area is $client, expected the design's $design_client"
    design_size=${design_size:-$size}
    [ "$size" = "$design_size" ] || fail "$name: the window is $size, expected $design_size as at the first start"
    dx=$(((left + right) - (area_left + area_right)))
    dy=$(((top + bottom) - (area_top + area_bottom)))
    if [ "${dx#-}" -gt 6 ] || [ "${dy#-}" -gt 6 ]; then
        fail "$name: the window at $left $top $right $bottom is not centred on the work area (off by $((dx / 2)), $((dy / 2)))"
    fi
    if [ "$left" -lt "$area_left" ] || [ "$top" -lt "$area_top" ] || [ "$right" -gt "$area_right" ] ||
        [ "$bottom" -gt "$area_bottom" ]; then
        fail "$name: the window at $left $top $right $bottom is not wholly inside the work area"
    fi
    if [ "${2:-}" = screenshot ]; then
        drv wait-rows 1 >/dev/null
        screenshot
    fi
    close
    cases=$((cases + 1))
    note "$name: centred at $left $top $right $bottom"
}

close() {
    drv click Cancel
    expect_exit
}

# Writes the value as type $2 with the bytes $3 (hex), then expect_centred
# "$1" "$4".
damaged() {
    drv write-placement "$2" "${3:-}" >/dev/null || fail "$1: could not write the value"
    expect_centred "$1" "${4:-}"
}

# Writes the sound value $2 (hex) and starts the program, which must open
# exactly at 137 91 748 468, shown normally; $1 names the case.
expect_restored() {
    drv write-placement REG_BINARY "$2" >/dev/null || fail "$1: could not write the value"
    start_dovrel
    [ "$(field rect <<<"$e2e_window")" = "137 91 748 468" ] ||
        fail "$1: a placement at 137 91 748 468 opened at $(field rect <<<"$e2e_window")"
    [ "$(drv window-rect | field state)" = normal ] || fail "$1: the window is $(drv window-rect | field state)"
    close
    cases=$((cases + 1))
    note "$1: restored at 137 91 748 468"
}

# Sound but for the damage each case does to it.
good=$(record 137 91 748 468 1)

drv reset-placement >/dev/null
expect_centred "value missing"
drv delete-program-key >/dev/null
expect_centred "key missing"

damaged "REG_SZ text" REG_SZ "$(utf16 '137,91,748,468')0000"
damaged "REG_EXPAND_SZ text" REG_EXPAND_SZ "$(utf16 '%WINDOW_RECT%')0000"
damaged "REG_MULTI_SZ lines" REG_MULTI_SZ "$(multi_sz 137 91 748 468)"
damaged "REG_DWORD number" REG_DWORD "$(le32 1)"
# A sound record under another type is not the program's either.
damaged "REG_NONE holding a sound record" REG_NONE "$good"
damaged "REG_DWORD holding a sound record" REG_DWORD "$good"

damaged "empty" REG_BINARY ""
damaged "truncated to 27 bytes" REG_BINARY "${good:0:54}"
damaged "29 bytes" REG_BINARY "${good}00"
damaged "4 KB" REG_BINARY "$good$(zeros $((4096 - 28)))"

damaged "on a monitor far right and below" REG_BINARY "$(record 3000 2500 3373 2684 1)"
damaged "on a monitor far left and above" REG_BINARY "$(record -3000 -2500 -2627 -2316 1)"
damaged "all but 30 pixels off the right edge" REG_BINARY "$(record $((area_right - 30)) 300 $((area_right + 343)) 484 1)"
damaged "caption above the top edge" REG_BINARY "$(record 300 $((area_top - 10)) 673 $((area_top + 174)) 1)"

damaged "negative width" REG_BINARY "$(record 748 91 137 468 1)"
damaged "negative height" REG_BINARY "$(record 137 468 748 91 1)"
damaged "zero size" REG_BINARY "$(record 300 300 300 300 1)"

damaged "hidden" REG_BINARY "$(record 137 91 748 468 0)" screenshot
damaged "show state 4" REG_BINARY "$(record 137 91 748 468 4)"

damaged "garbage tag" REG_BINARY "$(le32 0x12345678 1 137 91 748 468 1)"
damaged "version 3" REG_BINARY "$(le32 0x4C505644 3 137 91 748 468 1)"
damaged "all zeros" REG_BINARY "$(zeros 28)"
damaged "coordinates near 2e9" REG_BINARY "$(record 2000000000 2000000000 2000000373 2000000184 1)"
damaged "from -2e9 to 2e9" REG_BINARY "$(record -2000000000 -2000000000 2000000000 2000000000 1)"

# Version 2, sound but for its damage: the client area of the 611 x 377
# window, with the frame of the first start.
read -r design_width design_height <<<"$design_size"
read -r client_width client_height <<<"$design_client"
client_width=$((611 - design_width + client_width))
client_height=$((377 - design_height + client_height))
good2=$(record2 137 91 748 468 1 96 "$client_width" "$client_height")
damaged "version 2 at 0 dpi" REG_BINARY "$(record2 137 91 748 468 1 0 "$client_width" "$client_height")"
damaged "version 2 with client width 0" REG_BINARY "$(record2 137 91 748 468 1 96 0 "$client_height")"
damaged "version 2 in 36 bytes" REG_BINARY "${good2:0:72}"
damaged "version 2 in 44 bytes" REG_BINARY "${good2}$(le32 0)"

# Sound placements inside the work area, neither centred nor at the design
# size, come back exactly, shown normally also when saved minimised or
# maximised.
expect_restored "sound placement" "$good"
expect_restored "saved minimised" "$(record 137 91 748 468 2)"
expect_restored "saved maximised" "$(record 137 91 748 468 3)"
expect_restored "sound placement of version 2" "$good2"
note "$cases cases"
