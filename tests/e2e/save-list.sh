#!/usr/bin/env bash
# "Save list as..." from the context menu: the list, sorted by the user, in
# the Save As dialog's two kinds, read back: comma-separated values (a port
# named with a comma, a quote and a non-ASCII letter quoted as RFC 4180
# has it) and tab-separated text, both UTF-8 after a byte order mark; a
# name a spreadsheet would run as a formula written as text, and one that
# begins with a quote kept in its column. A file
# that another program holds open is replaced only after the dialog's own
# question, and then not at all: the program says why, and the file and
# the list stay as they were.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

odd='a,"é" port'
formula='=HYPERLINK("http://x","LPT1:")'
use_ports COM1: LPT1: FILE: "$odd" "$formula" '"LPT1: copy'
prefix=$(source "$e2e_here/../wine/wine-env.sh" "$e2e_state" && echo "$WINEPREFIX")
unix_temp="$prefix/drive_c/windows/temp"
rm -f "$unix_temp"/dovrel-e2e-list.*
e2e_cleanups+=("rm -f $unix_temp/dovrel-e2e-list.csv $unix_temp/dovrel-e2e-list.txt $unix_temp/dovrel-e2e-list.csv.release")

start_dovrel
drv wait-rows 6 >/dev/null
drv header-click Name  # descending: the file keeps the order shown
rows=$(drv list | grep -v '^selected:')

# Opens "Save list as..." by the menu's access key and saves under NAME
# (without extension) as the kind of file numbered TYPE (from 0).
save_as() {
    drv key apps
    drv menu 5000 >/dev/null || fail "the Applications key opened no menu"
    drv key l
    dialog_ready "Save As"
    expect_owned_by_ports
    drv set-text "Save As" 1148 "$1"
    drv select-item "Save As" 1136 "$2"
    drv click Save "Save As"
}

# What the file must hold: the header and the rows, as CSV ($1 = csv, by
# Python's csv module, which quotes as RFC 4180 has it) or TSV, CR LF; a
# field that begins as a formula does with an apostrophe in front, and in
# TSV one that begins with a quote quoted.
expected_file() {
    { printf 'Name\tMonitor\tDescription\tType\n'; echo "$rows"; } | python3 -c '
import csv, sys
out = open(sys.stdout.fileno(), "w", encoding="utf-8-sig", newline="")
text = lambda f: "\x27" + f if f[:1] in ("=", "+", "-", "@", "\t", "\r") else f
rows = [[text(f) for f in line.split("\t")] for line in sys.stdin.read().splitlines()]
if sys.argv[1] == "csv":
    csv.writer(out, lineterminator="\r\n").writerows(rows)
else:
    quote = lambda f: "\"" + f.replace("\"", "\"\"") + "\"" if f.startswith("\"") else f
    out.writelines("\t".join(map(quote, row)) + "\r\n" for row in rows)
' "$1"
}

save_as 'C:\windows\temp\dovrel-e2e-list' 0
drv wait-gone "Save As" 5000 || fail "the Save As dialog did not close"
[ -f "$unix_temp/dovrel-e2e-list.csv" ] || fail "no dovrel-e2e-list.csv was written"
cmp <(expected_file csv) "$unix_temp/dovrel-e2e-list.csv" >&2 || fail "the CSV file differs: $(od -c "$unix_temp/dovrel-e2e-list.csv" | head -20)"
grep -qF '"a,""é"" port"' "$unix_temp/dovrel-e2e-list.csv" || fail "the odd name is not quoted as RFC 4180 has it"
grep -qF "\"'=HYPERLINK(" "$unix_temp/dovrel-e2e-list.csv" || fail "the formula is not written as text"
note "saved as CSV, read back"

save_as 'C:\windows\temp\dovrel-e2e-list' 1
drv wait-gone "Save As" 5000 || fail "the Save As dialog did not close"
cmp <(expected_file tsv) "$unix_temp/dovrel-e2e-list.txt" >&2 || fail "the tab-separated file differs"
grep -qF '"""LPT1: copy"' "$unix_temp/dovrel-e2e-list.txt" || fail "the name that begins with a quote is not quoted"
note "saved as tab-separated text, read back"

# Held open by another program: the dialog asks before replacing it, then
# the program reports the system's reason; nothing changes.
cp "$unix_temp/dovrel-e2e-list.csv" "$e2e_tmp/before.csv"
drv hold-file 'C:\windows\temp\dovrel-e2e-list.csv' 30000 >"$e2e_tmp/held.txt" &
holder=$!
e2e_cleanups+=("touch $unix_temp/dovrel-e2e-list.csv.release" "wait $holder" "${e2e_cleanups[-1]}")
for _ in $(seq 1 250); do
    grep -q held "$e2e_tmp/held.txt" 2>/dev/null && break
    sleep 0.02
done
grep -q held "$e2e_tmp/held.txt" || fail "the file was not held open"
save_as 'C:\windows\temp\dovrel-e2e-list.csv' 0
dialog_ready Error "replace"
drv click Yes Error
dialog_ready "Orvane - Dovrel" "Can't save"
expect_owned_by_ports
[ "$(icon)" = exclamation ] || fail "the box shows the icon $(icon)"
reason=$(control_text text)
[ "$reason" = "Can't save the list to C:\\\\windows\\\\temp\\\\dovrel-e2e-list.csv.\\r\\n\\r\\nAccess denied." ] ||
    fail "the box says \"$reason\""
screenshot -refused
drv click OK "Orvane - Dovrel"
drv wait-gone "Orvane - Dovrel" 5000 || fail "the box did not close"
cmp "$e2e_tmp/before.csv" "$unix_temp/dovrel-e2e-list.csv" || fail "the file held open was changed"
ls "$unix_temp" | grep -qi '^dvl.*\.tmp$' && fail "a new file was left behind: $(ls "$unix_temp" | grep -i '^dvl')"
expect_list "$(echo "$rows"; drv list | tail -1)" "the refused save"
note "a file held open: the dialog's question, then \"$reason\"; file and list unchanged"

drv key esc
expect_exit
