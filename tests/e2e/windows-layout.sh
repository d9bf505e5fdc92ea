#!/usr/bin/env bash
# The spooler of Windows lays out its answer with the strings packed
# downwards from the end of the buffer offered; with a port gone between
# the size call and the data call, the first records' strings lie beyond
# the byte count the data call reports. A stand-in winspool.drv in the
# prefix's system folder answers so, for Dovrel.exe alone: every row still
# shows its name, monitor and description.
# Arguments after the usual five: the stand-in winspool.drv.
source "$(dirname "$0")/lib.sh"

standin=$(readlink -f "$1")
prefix=$(source "$e2e_here/../wine/wine-env.sh" "$e2e_state" && echo "$WINEPREFIX")
# The program's system folder: a 32-bit program's is syswow64 in a 64-bit prefix.
if x86_64-w64-mingw32-objdump -f "$e2e_exe" | grep -q 'pei-i386'; then
    system="$prefix/drive_c/windows/syswow64"
else
    system="$prefix/drive_c/windows/system32"
fi
[ -f "$system/winspool.drv" ] || fail "no winspool.drv in $system"
cp "$system/winspool.drv" "$e2e_tmp/winspool.drv.wine"
e2e_cleanups+=("cp $e2e_tmp/winspool.drv.wine $system/winspool.drv")
cp "$standin" "$system/winspool.drv"

drv wait-gone Ports 5000 >/dev/null || fail "a window \"Ports\" is already open before the start"
DOVREL_DLL_OVERRIDES=winspool.drv=n "$e2e_wine_run" "$e2e_state" "$e2e_exe" </dev/null >>"$e2e_tmp/dovrel.log" 2>&1 &
e2e_pid=$!
note "Dovrel.exe started with the stand-in spooler (pid $e2e_pid)"
drv wait-window Ports 20000 >/dev/null || fail "the window \"Ports\" did not appear"
drv wait-rows 3 >/dev/null || fail "the list did not fill"

expected=$(printf '%s\t%s\t%s\t%s\n' \
    'COM1:' 'Stand-in Monitor' 'Serial Port' 'Write, Read' \
    'FILE:' 'Stand-in Monitor' 'Print to File' 'Write' \
    'LPT1:' 'Stand-in Monitor' 'Printer Port' 'Write')
rows=$(drv list | grep -v '^selected:')
diff <(echo "$expected") <(echo "$rows") >&2 || fail "the rows differ from the stand-in's three ports (- expected, + list)"
note "three rows, every one named"
screenshot
drv click Cancel
expect_exit
