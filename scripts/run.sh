#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit Dovrel.exe and starts it under
# Wine on your display, in your usual Wine prefix (WINEPREFIX, or ~/.wine).
source "$(dirname "$0")/common.sh"

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: Dovrel is a window and needs one (set DISPLAY)." >&2
    exit 1
fi

dovrel_install_missing
dovrel_build_windows win32 i686-w64-mingw32

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
exec wine "$DOVREL_BUILD/win32/app/Dovrel.exe"
