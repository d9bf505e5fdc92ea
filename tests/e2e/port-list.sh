#!/usr/bin/env bash
# The list shows the spooler's ports, one row each with monitor, description
# and type text, sorted by name whatever the letters' case, the first row
# selected, every column wide enough for its texts.
source "$(dirname "$0")/lib.sh"

# Mixed case, so that only a case-insensitive sort gives this order.
use_ports LPT1: COM1: gamma: Zeta: FILE: alpha: lpt9: Beta: COM2:
sorted_names="alpha: Beta: COM1: COM2: FILE: gamma: LPT1: lpt9: Zeta:"
expected=$(spooler_rows)
count=$(wc -l <<<"$expected")
[ "$count" -eq 9 ] || fail "the spooler reports $count ports after seeding 9: $expected"

start_dovrel
drv wait-rows "$count" >/dev/null
list=$(drv list)
rows=$(grep -v '^selected:' <<<"$list")
shown=$(cut -f1 <<<"$rows" | paste -sd' ')
[ "$shown" = "$sorted_names" ] || fail "the names are in the order \"$shown\", expected \"$sorted_names\""
# The spooler's own order may differ; compare as sets, row by row.
diff <(sort <<<"$expected") <(sort <<<"$rows") >&2 || fail "the rows differ from the spooler's ports (- spooler, + list)"
[ "$(field selected <<<"$list")" = 0 ] || fail "selected rows: '$(field selected <<<"$list")', expected row 0 alone"

# Wine's own auto-size adds 12 pixels to the widest cell text and 11 to the
# header text; narrower, and a text is cut short with an ellipsis.
while IFS=$'\t' read -r index width header_text cell_text title; do
    need=$((header_text > cell_text ? header_text : cell_text))
    [ "$width" -ge $((need + 11)) ] ||
        fail "column $index \"$title\" is $width pixels wide; its widest text takes $need"
done < <(drv columns)

screenshot
drv click Cancel
expect_exit
