#!/usr/bin/env bash
# Libraries planted beside Dovrel.exe and in its current folder under the
# names of the system libraries it uses are never loaded: not at the start,
# not for the list, the about box, the read-me or the port monitor's dialogs.
# Wine would load its own library before any planted one, as Windows does
# for some names only; the run tells it to prefer them, as Windows would.
# A program that imports the spooler the ordinary way loads the planted one
# under the same conditions, which shows that the plants work.
# Arguments after the usual five: the planted library, and optionally the
# program to run instead of Dovrel.exe (the same program built to take the
# ways of a Windows without SetDefaultDllDirectories).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dialogs.sh"

planted=$(readlink -f "$1")
program=$(readlink -f "${2:-$e2e_exe}")
# The libraries the program or the spooler loads after its start. Not among
# them: version.dll, which Wine's user32 imports before any code of the
# program runs, and msimg32.dll, which Wine's own libraries load without
# regard to the program's search order (on Windows both follow it).
names=(winspool.drv comctl32.dll shell32.dll ole32.dll uxtheme.dll compstui.dll spoolss.dll localspl.dll localui.dll)
overrides=$(printf '%s,' "${names[@]%.dll}")
overrides="${overrides%,}=n,b"

app="$e2e_tmp/app"
current="$e2e_tmp/current"
mkdir -p "$app" "$current"
cp "$program" "$app/Dovrel.exe"
cp "$(dirname "$e2e_exe")/ReadMe.txt" "$app/"
for name in "${names[@]}"; do
    cp "$planted" "$app/$name"
    cp "$planted" "$current/$name"
done

marks() {
    find "$app" "$current" -iname '*.loaded' -printf '%P\n' | tr 'A-Z' 'a-z' | sort | paste -sd' '
}

imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' |
    sort | paste -sd' ')
note "imported at start: $imports"
# The libraries of tests/imports/imports.tsv, which checks the functions.
for library in $imports; do
    case $library in
    advapi32.dll | gdi32.dll | kernel32.dll | msvcrt.dll | user32.dll) ;;
    *) fail "Dovrel.exe imports $library, which Windows may look for beside the program first" ;;
    esac
done

use_ports COM1: FILE: LPT1:
drv wait-gone Ports 5000 >/dev/null || fail "a window \"Ports\" is already open before the start"
(cd "$current" && DOVREL_DLL_OVERRIDES=$overrides exec "$e2e_wine_run" "$e2e_state" "$app/Dovrel.exe") \
    </dev/null >>"$e2e_tmp/dovrel.log" 2>&1 &
e2e_pid=$!
note "Dovrel.exe started from $app in $current (pid $e2e_pid)"
drv wait-window Ports 20000 >/dev/null || fail "the window \"Ports\" did not appear"
drv wait-rows 3 >/dev/null
expect_rebuilt "the start"

drv key F1 shift
drv find-window About 10000 >/dev/null || fail "Shift+F1 showed no about box"
drv close-window About
drv wait-no-window About 5000 || fail "the about box did not close"

drv click Help
drv find-window ReadMe 10000 >/dev/null || fail "Help opened no read-me"
drv close-window ReadMe
drv wait-no-window ReadMe 5000 || fail "the read-me did not close"

drv click Add...
dialog_ready "Orvane - Dovrel" "Input monitor name."
drv click OK "Orvane - Dovrel"
dialog_ready "Add a Local Port"
drv click Cancel "Add a Local Port"
drv wait-gone "Add a Local Port" 5000 || fail "the monitor's dialog did not close"

drv select-row "$(row_of LPT1:)"
drv click Settings...
dialog_ready "Configure LPT Port"
screenshot
drv click Cancel "Configure LPT Port"
drv wait-gone "Configure LPT Port" 5000 || fail "the LPT dialog did not close"

drv click Cancel
expect_exit
[ -z "$(marks)" ] || fail "Dovrel.exe loaded planted libraries: $(marks)"
note "no planted library was loaded: ${names[*]}"

# The same plants, for a program that imports the spooler at its start.
cp "$e2e_driver" "$app/naive.exe"
(cd "$current" && DOVREL_DLL_OVERRIDES=$overrides "$e2e_wine_run" "$e2e_state" "$app/naive.exe" spooler-ports) \
    </dev/null >/dev/null 2>&1 || true
[[ " $(marks) " == *" winspool.drv.loaded "* ]] ||
    fail "a program importing winspool.drv did not load the planted one (marks: '$(marks)'): the plants prove nothing"
note "a program importing the spooler at its start loaded: $(marks)"
