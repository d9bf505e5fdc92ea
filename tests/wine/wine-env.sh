# Sourced by the scripts of this folder: the Wine environment of one test run
# kept in the state folder given as $1.
dovrel_state=$(readlink -m "$1")
export WINEPREFIX="$dovrel_state/prefix"
# Wine's errors stay on: when a process cannot start or crashes, its last
# lines say why. Its notes of unfinished functions (fixme) are noise.
export WINEDEBUG=${DOVREL_WINEDEBUG:-err+all,fixme-all}
# A test may add overrides of its own in DOVREL_DLL_OVERRIDES.
export WINEDLLOVERRIDES="mscoree,mshtml=${DOVREL_DLL_OVERRIDES:+;$DOVREL_DLL_OVERRIDES}"
if [ -z "${DISPLAY:-}" ] && [ -s "$dovrel_state/display" ]; then
    DISPLAY=$(cat "$dovrel_state/display")
    export DISPLAY
fi

# `wine` and `wineboot` are shims in the state folder that start Wine with
# its fixed low addresses free (scripts/wine-fixed-layout.sh says why).
# Debian's `wine` starts Wine's 32-bit loader first, which hands 64-bit
# programs on to the 64-bit one; a kernel without 32-bit support cannot start
# the first at all, and there the shims go straight to the 64-bit loader,
# which runs the 64-bit programs (and nothing 32-bit).
dovrel_write_wine_shims() {
    local bin=$1 layout loader=/usr/bin/wine
    layout=$(readlink -f "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-fixed-layout.sh")
    if ! /usr/lib/wine/wine --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
        loader="env WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64"
    fi
    mkdir -p "$bin"
    # Written aside and renamed, so that a test starting beside never runs
    # half a shim.
    printf '#!/bin/sh\nexec %q %s "$@"\n' "$layout" "$loader" >"$bin/wine.$$"
    printf '#!/bin/sh\nexec "$(dirname "$0")/wine" wineboot.exe "$@"\n' >"$bin/wineboot.$$"
    chmod +x "$bin/wine.$$" "$bin/wineboot.$$"
    mv -f "$bin/wine.$$" "$bin/wine"
    mv -f "$bin/wineboot.$$" "$bin/wineboot"
}
[ -x "$dovrel_state/bin/wineboot" ] || dovrel_write_wine_shims "$dovrel_state/bin"
export PATH="$dovrel_state/bin:$PATH"

# Makes the prefix once, under a lock so that parallel callers wait for it.
dovrel_ensure_prefix() {
    [ -f "$WINEPREFIX/.dovrel-ready" ] && return 0
    mkdir -p "$dovrel_state"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.dovrel-ready" ]; then
            rm -rf "$WINEPREFIX"
            wineboot -i </dev/null >/dev/null 2>&1
            # Without a window manager every dialog close stalls about 2 s
            # unless Wine manages its windows itself; a crash must end the
            # program at once instead of opening a debugger window.
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
            wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
            wineserver -k 2>/dev/null || true
            touch "$WINEPREFIX/.dovrel-ready"
        fi
    ) 9>"$dovrel_state/prefix.lock"
}

# Keeps one wineserver, with the prefix's services, running between the test
# programs: starting them afresh costs seconds per program. The server ends
# by itself five minutes after its last program, should nobody stop it. It
# and the services are started with no link to our output, or they would
# hold the caller's pipes open long after the test has ended.
dovrel_ensure_server() {
    local server
    for server in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver32 "$(command -v wineserver)"; do
        [ -x "$server" ] && break
    done
    if "$server" -p300 </dev/null >/dev/null 2>&1; then
        wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    fi
}
