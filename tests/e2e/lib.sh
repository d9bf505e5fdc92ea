# shellcheck shell=bash
# Sourced by every scenario of this folder. A scenario is run as
#   bash SCENARIO.sh STATE EXE DRIVER RESULTS NAME [ARGUMENTS...]
# STATE is the Wine state folder of the run (prefix and display, see
# tests/wine), EXE the Dovrel.exe under test, DRIVER the e2e_driver.exe of the
# same build, RESULTS the folder for screenshots, NAME the scenario's name.
set -euo pipefail

if [ $# -lt 5 ]; then
    echo "usage: $0 STATE EXE DRIVER RESULTS NAME [ARGUMENTS...]" >&2
    exit 2
fi
e2e_here=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
e2e_state=$(readlink -m "$1")
e2e_exe=$(readlink -m "$2")
e2e_driver=$(readlink -m "$3")
e2e_results=$(readlink -m "$4")
e2e_name=$5
shift 5
e2e_wine_run=$(readlink -f "$e2e_here/../wine/wine-run.sh")
e2e_started=$(date +%s%3N)
e2e_pid=
e2e_exe_arguments=()
e2e_ended=
e2e_tmp=$(mktemp -d)
e2e_cleanups=()
e2e_reason=
mkdir -p "$e2e_results"
rm -f "$e2e_results/$e2e_name.png" "$e2e_results/$e2e_name-failure.png"

note() {
    local ms=$(($(date +%s%3N) - e2e_started))
    printf '[%3d.%01ds] %s\n' $((ms / 1000)) $((ms % 1000 / 100)) "$*"
}

fail() {
    e2e_reason="$*"
    exit 1
}

# Runs a Windows program of the scenario in the run's prefix. What it and
# Wine say on stderr is passed on (Wine's errors are on: a process that
# cannot start or crashes says why there); a run that ends non-zero, with
# whatever code, is named with its command, exit code and time.
wine_step() {
    local code=0 said
    said=$(mktemp -p "$e2e_tmp" said.XXXXXX)
    "$e2e_wine_run" "$e2e_state" "$@" </dev/null 2>"$said" || code=$?
    cat "$said" >&2
    rm -f "$said"
    if [ "$code" -ne 0 ]; then
        echo "${1##*/} ${*:2} ended with exit code $code at $(date +%T.%3N)" >&2
    fi
    return "$code"
}

# The driver; its own failures end with exit code 1 or 2 and a message.
# "Ports" in its commands is the window titled $e2e_window_title: the
# program's, "Ports on \\server" when a scenario starts it for a server.
e2e_window_title=Ports
drv() {
    if [ "$e2e_window_title" = Ports ]; then
        wine_step "$e2e_driver" "$@"
    else
        wine_step "$e2e_driver" --window "$e2e_window_title" "$@"
    fi
}

# The value of a "key: value" line of the driver's output.
field() {
    sed -n "s/^$1: //p"
}

screenshot() {
    local file="$e2e_results/$e2e_name${1:-}.png"
    (
        # shellcheck source=../wine/wine-env.sh
        source "$e2e_here/../wine/wine-env.sh" "$e2e_state"
        import -window root "$file"
    ) && note "screenshot $file" || echo "could not take the screenshot $file" >&2
}

# Starts Dovrel.exe in the background, with the arguments in the array
# e2e_exe_arguments, and waits for its window; a scenario runs one instance
# at a time. $e2e_window is then the window's rect, size and client size as
# it first showed (placed or centred before it shows).
start_dovrel() {
    # The windows of an instance that has ended are gone with it.
    if [ -z "$e2e_ended" ]; then
        drv wait-gone "$e2e_window_title" 5000 >/dev/null ||
            fail "a window \"$e2e_window_title\" is already open before the start"
    fi
    e2e_ended=
    DOVREL_DLL_OVERRIDES=${e2e_exe_overrides:-${DOVREL_DLL_OVERRIDES:-}} \
        "$e2e_wine_run" "$e2e_state" "$e2e_exe" "${e2e_exe_arguments[@]}" </dev/null >>"$e2e_tmp/dovrel.log" 2>&1 &
    e2e_pid=$!
    note "Dovrel.exe started (pid $e2e_pid)"
    e2e_window=$(drv wait-window "$e2e_window_title" 20000) || fail "the window \"$e2e_window_title\" did not appear"
}

# Starts Dovrel.exe as start_dovrel does, with the stand-in winspool.drv
# $1 in the prefix's system folder (a 32-bit program's is syswow64 in a
# 64-bit prefix), loaded by Dovrel.exe alone; Wine's is put back at the end.
start_dovrel_on_standin() {
    local prefix system
    prefix=$(source "$e2e_here/../wine/wine-env.sh" "$e2e_state" && echo "$WINEPREFIX")
    system="$prefix/drive_c/windows/system32"
    if x86_64-w64-mingw32-objdump -f "$e2e_exe" | grep -q 'pei-i386'; then
        system="$prefix/drive_c/windows/syswow64"
    fi
    [ -f "$system/winspool.drv" ] || fail "no winspool.drv in $system"
    cp "$system/winspool.drv" "$e2e_tmp/winspool.drv.wine"
    e2e_cleanups+=("cp $e2e_tmp/winspool.drv.wine $system/winspool.drv")
    cp "$(readlink -f "$1")" "$system/winspool.drv"
    e2e_exe_overrides=winspool.drv=n
    start_dovrel
}

# Waits until the started Dovrel.exe has ended by itself, with exit code 0.
expect_exit() {
    local ms=5000 waited=0 code=0
    while kill -0 "$e2e_pid" 2>/dev/null; do
        [ "$waited" -ge "$ms" ] && fail "Dovrel.exe (pid $e2e_pid) still runs $ms ms after its window was closed"
        sleep 0.02
        waited=$((waited + 20))
    done
    wait "$e2e_pid" || code=$?
    [ "$code" -eq 0 ] || fail "Dovrel.exe ended with exit code $code"
    note "Dovrel.exe ended (exit code 0)"
    e2e_pid=
    e2e_ended=yes
}

# The spooler's ports, as the driver reads them in its own process, in the
# form of the list's rows: the type number becomes the Type column's text.
spooler_rows() {
    local name monitor description type text
    drv spooler-ports | while IFS=$'\t' read -r name monitor description type; do
        text=
        if (( type & 1 )); then text+="Write, "; fi
        if (( type & 2 )); then text+="Read, "; fi
        if (( type & 4 )); then text+="Redirected, "; fi
        if (( type & 8 )); then text+="Net attached, "; fi
        text=${text%, }
        printf '%s\t%s\t%s\t%s\n' "$name" "$monitor" "$description" "${text:-Unknown}"
    done
}

# Replaces the spooler's ports with the given names for this scenario and
# puts the ports found before back when it ends.
use_ports() {
    local before="$e2e_tmp/ports-before.txt"
    drv spooler-names >"$before"
    [ -s "$before" ] || fail "the spooler reports no ports to put back afterwards"
    e2e_cleanups+=("restore_ports $before")
    write_ports "$@" || fail "could not set the ports $*"
}

restore_ports() {
    local names=()
    mapfile -t names <"$1"
    write_ports "${names[@]}" || echo "could not put the ports back: ${names[*]}" >&2
}

# The ports are the values of this key (their data is ignored); a .reg file
# imported by regedit sets them all in one Wine start. Succeeds when the
# spooler then reports exactly these ports.
write_ports() {
    local file="$e2e_tmp/ports.reg" name now
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports]\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports]\r\n'
        for name in "$@"; do
            name=${name//\\/\\\\}
            printf '"%s"=""\r\n' "${name//\"/\\\"}"
        done
    } | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$file"
    wine_step regedit /S "Z:${file//\//\\}" >/dev/null || return 1
    now=$(drv spooler-names | sort) || return 1
    [ "$now" = "$(printf '%s\n' "$@" | sort)" ]
}

e2e_finish() {
    local code=$? cleanup
    trap - EXIT
    trap '' PIPE
    set +e
    if [ "$code" -ne 0 ]; then
        screenshot -failure
        echo "visible windows at the failure:" >&2
        drv windows >&2
        # A read-me left open by a failed step would stand in the way of the
        # next scenario.
        drv end-process "ReadMe" >/dev/null 2>&1
    fi
    if [ -n "$e2e_pid" ] && kill -0 "$e2e_pid" 2>/dev/null; then
        kill "$e2e_pid" 2>/dev/null
        wait "$e2e_pid" 2>/dev/null
    fi
    for cleanup in "${e2e_cleanups[@]}"; do
        $cleanup
    done
    if [ "$code" -ne 0 ]; then
        if [ -z "$e2e_reason" ] && [ -n "$e2e_failed_file" ]; then
            e2e_reason="this step failed, ${e2e_failed_file##*/} line $e2e_failed_line: $(sed -n "${e2e_failed_line}{s/^ *//;p}" "$e2e_failed_file")"
        fi
        [ -s "$e2e_tmp/dovrel.log" ] && { echo "Dovrel.exe's output:" >&2; cat "$e2e_tmp/dovrel.log" >&2; }
        echo "FAIL ($e2e_name): ${e2e_reason:-exit code $code}" >&2
    else
        note "PASS $e2e_name"
    fi
    rm -rf "$e2e_tmp"
    exit "$code"
}
# Where a failing command stopped the scenario: its line in the scenario
# itself, also when the command failed inside one of the functions here.
e2e_failed_file=
e2e_failed_line=
set -E
trap 'if [ -z "$e2e_failed_file" ]; then
          if [ ${#BASH_LINENO[@]} -gt 1 ]; then
              e2e_failed_file=${BASH_SOURCE[-1]} e2e_failed_line=${BASH_LINENO[-2]}
          else
              e2e_failed_file=${BASH_SOURCE[0]} e2e_failed_line=$LINENO
          fi
      fi' ERR
trap e2e_finish EXIT
trap 'exit 130' INT TERM

# Every scenario starts as a first start: no placement saved.
drv reset-placement >/dev/null
