#!/usr/bin/env bash
# The list's keys and its context menu: F5 brings in a port deleted by
# another program; Del on the list asks and deletes; the menu opens by
# Shift+F10, by the Applications key and by a real right click (which
# selects the row first), and its Copy puts that row on the clipboard as
# Ctrl+C does; with no row selected, the items that need one do nothing.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

gone='C:\windows\temp\dovrel-e2e-keys-gone.prn'
asked='C:\windows\temp\dovrel-e2e-keys-asked.prn'
use_ports COM1: FILE: LPT1: "$gone" "$asked"

# A row as the driver prints the clipboard: one line, tab as \t, ending in CR LF.
as_clipboard() {
    local text
    text=$(escaped "$1")
    printf '%s\\r\\n' "${text//$'\t'/\\t}"
}

start_dovrel
drv wait-rows 5 >/dev/null

# F5 from a button, after another program deleted a port: Wine's spooler
# tells of no changes, so the row stays until then.
drv spooler-watch | grep -q '^notification: none' || fail "Wine's spooler now gives a change notification: $(drv spooler-watch)"
drv key tab
drv wait-focus Cancel 5000 || fail "Tab did not reach Cancel"
drv spooler-delete "$gone"
[ -n "$(row_of "$gone")" ] || fail "$gone left the list before F5"
drv key F5
[ "$(drv wait-no-row "$gone" 5000)" = "row: gone" ] || fail "F5 did not bring the list up to date"
expect_rebuilt "F5"
note "F5 from Cancel showed the port another program deleted as gone"

# Del with the list focused: the question about the selected port, OK deletes it.
drv key tab shift
drv wait-focus list 5000 || fail "Shift+Tab did not reach the list"
drv select-row "$(row_of "$asked")"
drv key delete
dialog_ready "Orvane - Dovrel" "Delete port?"
[ "$(control_text text)" = "$(escaped "$asked")\\r\\n\\r\\nDelete port?" ] || fail "Del asked \"$(control_text text)\""
drv --window "Orvane - Dovrel" key enter
[ "$(drv wait-no-row "$asked" 5000)" = "row: gone" ] || fail "OK on Del's question did not delete $asked"
if spooler_has "$asked"; then fail "the spooler still has $asked"; fi
note "Del asked about $asked and deleted it"

# The menu from the keyboard, at the selected row; Esc closes it.
drv select-row 2
drv key F10 shift
drv menu 5000 >/dev/null || fail "Shift+F10 opened no menu"
screenshot -menu
drv key esc
drv wait-no-menu 5000 || fail "Esc did not close the menu"
drv key apps
drv menu 5000 >/dev/null || fail "the Applications key opened no menu"
drv key esc
drv wait-no-menu 5000 || fail "Esc did not close the menu"

# A right click on row 0 selects it; the menu's Copy copies it.
drv right-click-row 0
drv menu 5000 >/dev/null || fail "the right click opened no menu"
drv wait-selected 0 5000 || fail "the right click did not select row 0"
drv key c
drv wait-no-menu 5000 || fail "C did not close the menu"
row0=$(drv list | sed -n 1p)
[ "$(drv clipboard | field unicode)" = "$(as_clipboard "$row0")" ] || fail "Copy put \"$(drv clipboard)\" on the clipboard, not row 0: $row0"
drv key down
drv wait-selected 1 5000
drv key c ctrl
row1=$(drv list | sed -n 2p)
clip=$(drv clipboard)
[ "$(field unicode <<<"$clip")" = "$(as_clipboard "$row1")" ] || fail "Ctrl+C put \"$clip\" on the clipboard, not row 1: $row1"
[ "$(field ansi <<<"$clip")" = "$(field unicode <<<"$clip")" ] || fail "the ANSI form differs: $clip"
note "the menu by Shift+F10, the Applications key and a right click; Copy and Ctrl+C copied the row"

# A right click below the rows leaves none selected: Delete... (D) is
# disabled and runs nothing. Wine's menu closes at the access key of a
# disabled item; another would stay open for Esc.
windows_before=$(drv windows)
drv right-click-row below
drv menu 5000 >/dev/null || fail "the right click below the rows opened no menu"
[ "$(drv list | field selected)" = "" ] || fail "a row is still selected: $(drv list | tail -1)"
screenshot -menu-none
drv key d
drv wait-no-menu 1000 >/dev/null 2>&1 || drv key esc
drv wait-no-menu 5000 || fail "the menu did not close"
expect_windows "$windows_before" "D in the menu without a selected row"
note "without a selected row, Delete... in the menu does nothing"
screenshot

drv key esc
expect_exit
