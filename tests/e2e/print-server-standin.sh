#!/usr/bin/env bash
# Started for a print server, every call of the spooler names that server,
# and where the server refuses its change notification (as a firewall
# makes it do), the list brings itself up to date every 30 seconds. The
# stand-in winspool.drv of list_follows answers for any server, refuses a
# server's notification and notes each call with the server it names; its
# commands are refused (standin_refusals.h). Arguments after the usual
# five: that stand-in.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

use_ports COM1: FILE: LPT1:
calls="$e2e_tmp/calls.txt"
export DOVREL_STANDIN_CALLS
DOVREL_STANDIN_CALLS="Z:${calls//\//\\}"
e2e_exe_arguments=('\\PRINTSRV')
e2e_window_title='Ports on \\PRINTSRV'
start_dovrel_on_standin "$1"
drv wait-rows 3 >/dev/null || fail "the list did not fill"
drv header-click Name
drv select-row 0
[ "$(drv list | grep -v '^selected:' | head -1 | cut -f1)" = LPT1: ] ||
    fail "LPT1: is not row 0 when sorted by name descending: $(drv list)"
listed=$(date +%s)

# Each command reaches the spooler and is refused there.
for command in Add... Delete... Settings...; do
    drv click "$command"
    case $command in
    Add...) dialog_ready "Orvane - Dovrel" "Input monitor name." && drv click OK "Orvane - Dovrel" ;;
    Delete...) dialog_ready "Orvane - Dovrel" "Delete port?" && drv click OK "Orvane - Dovrel" ;;
    esac
    dialog_ready "Orvane - Dovrel" "Can't"
    note "$command: $(control_text text | cut -c1-80)"
    drv click OK "Orvane - Dovrel"
    drv dialog-gone "Orvane - Dovrel" "Can't" 5000
done

drv spooler-add LPT9:
row=$(drv wait-row LPT9: 40000) || fail "LPT9:, added elsewhere, did not come in within 40 s"
waited=$(($(date +%s) - listed))
[ "$waited" -ge 20 ] || fail "LPT9: came in after $waited s, before the 30-second update"
[ "$row" = "row: 0" ] || fail "LPT9: is $row, not row 0 of the list sorted by name descending"
[ "$(drv list | field selected)" = 1 ] || fail "LPT1: is no longer selected: $(drv list | head -1)"
note "LPT9:, added elsewhere, came in $waited s after the list was filled, the sort and selection kept"
screenshot
drv spooler-delete LPT9:
drv click Cancel
expect_exit

# One line per call: the entry point and the server it named.
sort -u "$calls" | tr -d '\r' >"$e2e_tmp/named.txt"
note "calls: $(cut -f1 "$e2e_tmp/named.txt" | paste -sd' ')"
awk -F'\t' '$2 != "\\\\PRINTSRV"' "$e2e_tmp/named.txt" | grep . && fail "calls that did not name \\\\PRINTSRV"
for entry in EnumPortsA OpenPrinterW EnumMonitorsW AddPortA EnumPortsW DeletePortW EnumPrintersW ConfigurePortW; do
    grep -q "^$entry"$'\t' "$e2e_tmp/named.txt" || fail "$entry was never called"
done
note "every call named \\\\PRINTSRV"
