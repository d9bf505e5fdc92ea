#!/usr/bin/env bash
# non-ascii-names.sh ... NAME HALF, HALF being added (through the monitor's
# dialog) or listed (written into the spooler's ports beforehand).
# Port names beyond ASCII, in a Russian locale, whose ANSI code page (1251)
# has Cyrillic letters but no Chinese ones:
# - a file port named in Cyrillic is added through the Local Port monitor's
#   dialog, shown as it is, and deleted again;
# - a port named with letters the code page lacks is shown as the system
#   converts it ('?'); deleting or configuring that row reaches that very
#   port, and when another port reads the same in the code page the program
#   refuses and touches neither;
# - names of 255 and 5,000 characters are added, listed and deleted, or
#   refused, by the monitor or with the program's message.
# Wine speaks Russian here, so its dialogs are found by owner and buttons by
# their ids.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"
export LC_ALL=ru_RU.UTF-8
half=${1:?which half: added or listed}
case "$half" in added | listed) ;; *) fail "unknown half: $half" ;; esac

[ "$(drv code-page | field ansi)" = 1251 ] || fail "the ANSI code page under $LC_ALL is not 1251: $(drv code-page)"

temp='C:\windows\temp\'
cyrillic="${temp}Отчёт-принтера.prn"
chinese="${temp}港口-打印.prn"
chinese_shown="${temp}??-??.prn"
lpt_chinese='LPT港:'
lpt_shown='LPT?:'
long_name() {
    local name=$temp
    while [ ${#name} -lt "$1" ]; do name+="dovrel-long-name-"; done
    printf '%s' "${name:0:$(($1 - 4))}.prn"
}
long255=$(long_name 255)
long5000=$(long_name 5000)
[ ${#long255} = 255 ] && [ ${#long5000} = 5000 ] || fail "the long names came out ${#long255} and ${#long5000} long"

names_tried=0
spooler_has_exactly() {
    drv spooler-names | grep -qxF -- "$1"
}

# The dialog owned by "Ports" other than the program's own boxes.
monitor_dialog() {
    local found
    found=$(drv owned-dialog 10000) || fail "no dialog of the monitor opened"
    field caption <<<"$found"
}

# Presses button $1 (an id) of the dialog titled $2, whatever its caption.
press() {
    dialog_ready "$2"
    drv click "$(control_text "$1")" "$2"
}

# Adds $1 through "Add..." and the monitor's dialog. Succeeds when the
# program rebuilt the list with the port in it, shown as $2; fails (status 1)
# when the program said "Can't add port.", or when the monitor refused the
# name and its dialog was cancelled, after which the program says nothing.
add_through_monitor() {
    local title outcome refusal
    drv click Add...
    dialog_ready "Orvane - Dovrel" "Input monitor name."
    drv click OK "Orvane - Dovrel"
    title=$(monitor_dialog)
    dialog_ready "$title"
    drv set-text "$title" 101 "$1"
    press 1 "$title"
    outcome=$(drv wait-close "$title") || fail "the monitor's dialog did not close for a name of ${#1} characters"
    if [ "$outcome" != closed ]; then
        # The monitor refused the name in a message of its own, over its
        # dialog; then the dialog is cancelled, as a user would.
        refusal=$(field box <<<"$outcome")
        dialog_ready "$refusal"
        note "the monitor said: $(control_text text | cut -c1-120)"
        press 1 "$refusal"
        drv wait-gone "$refusal" 5000 || fail "the monitor's message did not close"
        press 2 "$title"
        drv wait-gone "$title" 5000 || fail "the monitor's dialog did not close after Cancel"
        if drv find-window "Orvane - Dovrel" 1000 >/dev/null 2>&1; then
            fail "the program reported the add that was cancelled in the monitor's dialog"
        fi
        return 1
    fi
    outcome=$(drv wait-row "$2") || fail "adding a port of ${#1} characters brought neither the port nor a message"
    if [ "${outcome%%:*}" = box ]; then
        dialog_ready "Orvane - Dovrel"
        grep -qF "Can't add port." <<<"$dialog" || fail "after adding: $dialog"
        press 1 "Orvane - Dovrel"
        drv wait-gone "Orvane - Dovrel" 5000 || fail "the message did not close"
        return 1
    fi
    spooler_has_exactly "$1" || fail "the list shows $2, but the spooler has no port of ${#1} characters"
}

# Deletes the row that reads $1 through "Delete..." and OK in the question;
# prints what the program said afterwards: "deleted" when the rebuilt list no
# longer shows it, or the text of its message, which is then closed.
delete_row() {
    local outcome row
    row=$(row_of "$1")
    [ -n "$row" ] || fail "no row reads \"$1\""
    drv select-row "$row"
    drv click Delete...
    dialog_ready "Orvane - Dovrel" "Delete port?"
    press 1 "Orvane - Dovrel"
    drv dialog-gone "Orvane - Dovrel" "Delete port?" 5000 || fail "the question did not close after OK"
    outcome=$(drv wait-no-row "$1") || fail "deleting row $row brought neither a new list nor a message"
    if [ "${outcome%%:*}" = box ]; then
        dialog_ready "Orvane - Dovrel"
        control_text text
        press 1 "Orvane - Dovrel"
        drv wait-gone "Orvane - Dovrel" 5000 || fail "the message did not close"
        return 0
    fi
    echo deleted
}

expect_deleted() {
    local name=$1 shown=${2:-$1} said
    said=$(delete_row "$shown")
    [ "$said" = deleted ] || fail "deleting the port of ${#name} characters: the program said \"$said\""
    if spooler_has_exactly "$name"; then fail "the spooler still has the port of ${#name} characters"; fi
    expect_rebuilt "deleting the port of ${#name} characters"
}

base=(COM1: FILE: LPT1:)

names_added_through_the_monitor() {
    use_ports "${base[@]}"
    start_dovrel
    drv wait-rows 3 >/dev/null
    for name in "$cyrillic" "$chinese" "$long255" "$long5000"; do
        shown=$name
        [ "$name" = "$chinese" ] && shown=$chinese_shown
        names_tried=$((names_tried + 1))
        if add_through_monitor "$name" "$shown"; then
            expect_rebuilt "adding the port of ${#name} characters"
            [ "$name" = "$cyrillic" ] && screenshot -cyrillic
            [ "$name" = "$chinese" ] && screenshot -chinese
            note "added through the monitor: a port of ${#name} characters, shown as ${shown:0:40}"
            expect_deleted "$name" "$shown"
            note "deleted it"
        else
            if spooler_has_exactly "$name"; then fail "the spooler has the port that was refused"; fi
            note "a port of ${#name} characters refused"
        fi
    done
    drv click Cancel
    expect_exit
}

names_listed() {
    # Two ports that read the same in the code page, two LPT ports likewise, a
    # Cyrillic name and a long one, written straight into the spooler's ports;
    # the ports before are put back at the end.
    use_ports "${base[@]}" "$chinese" "$chinese_shown" "$lpt_chinese" "$lpt_shown" "$cyrillic" "$long255"
    names_tried=$((names_tried + 4))
    start_dovrel
    drv wait-rows 9 >/dev/null
    expect_rebuilt "the start"
    [ "$(drv list | n=$chinese_shown awk -F'\t' '$1 == ENVIRON["n"]' | wc -l)" = 2 ] || fail "not two rows read $chinese_shown"
    screenshot -twins

    said=$(delete_row "$chinese_shown")
    # The reason: the code page has no letter for some of theirs.
    [ "$said" = "Can't delete port.\r\n\r\n$(drv system-text 1113)" ] ||
        fail "deleting one of two ports that read the same: the program said \"$said\""
    spooler_has_exactly "$chinese" && spooler_has_exactly "$chinese_shown" || fail "a port that reads $chinese_shown is gone"
    note "two ports read $chinese_shown: \"Can't delete port.\", both kept"

    windows=$(drv windows)
    drv select-row "$(row_of "$lpt_shown")"
    drv click Settings...
    expect_windows "$windows" "Settings... on one of two ports that read $lpt_shown"
    note "two ports read $lpt_shown: Settings... opened nothing"

    expect_deleted "$cyrillic"
    note "listed and deleted $cyrillic"
    expect_deleted "$long255"
    note "listed and deleted a port of ${#long255} characters"
    drv click Cancel
    expect_exit

    # Without their twins, the same rows reach their very ports.
    write_ports "${base[@]}" "$chinese" "$lpt_chinese" || fail "could not write the ports"
    start_dovrel
    drv wait-rows 5 >/dev/null
    drv select-row "$(row_of "$lpt_shown")"
    drv click Settings...
    title=$(monitor_dialog)
    note "Settings... on $lpt_shown opened \"$title\" for $lpt_chinese"
    press 2 "$title"
    drv wait-gone "$title" 5000 || fail "\"$title\" did not close"
    expect_deleted "$chinese" "$chinese_shown"
    for name in "${base[@]}" "$lpt_chinese"; do
        spooler_has_exactly "$name" || fail "the spooler lost $name"
    done
    note "deleted exactly $chinese through the row $chinese_shown"
    drv click Cancel
    expect_exit

    # Wine's spooler lists no port at all while one of them has a name of 260
    # characters or more; the program says so and goes on with an empty list.
    wine_step reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports' /v "$long5000" /d '' /f \
        >/dev/null || fail "could not write the port of ${#long5000} characters"
    names_tried=$((names_tried + 1))
    start_dovrel
    dialog_ready "Orvane - Dovrel" "Can't enum ports."
    [ "$(icon)" = stop ] || fail "\"Can't enum ports.\" shows the $(icon) icon"
    screenshot -enum-refused
    press 1 "Orvane - Dovrel"
    drv wait-gone "Orvane - Dovrel" 5000 || fail "the message did not close"
    [ "$(drv list)" = "selected:" ] || fail "the list is not empty: $(drv list | head -3)"
    drv controls | grep -E '^Button	(Delete|Settings)' | grep -q enabled && fail "Delete... or Settings... is enabled over the empty list"
    note "a port of ${#long5000} characters: \"Can't enum ports.\", an empty list, the program goes on"
    drv click Cancel
    expect_exit
}

case "$half" in
added) names_added_through_the_monitor ;;
listed) names_listed ;;
esac
note "names tried: $names_tried"
