#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit Dovrel.exe and starts it under
# Wine on your display, in your usual Wine prefix (WINEPREFIX, or ~/.wine).
source "$(dirname "$0")/common.sh"

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: Dovrel is a window and needs one (set DISPLAY)." >&2
    exit 1
fi

dovrel_install_missing
# Only the program and what goes beside it, not the test programs.
dovrel_configure win32 "$(dovrel_windows_toolchain i686-w64-mingw32)"
cmake --build "$DOVREL_BUILD/win32" -j "$(nproc)" --target Dovrel

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
# With Wine's fixed low addresses kept free (wine-fixed-layout.sh says why).
exec "$DOVREL_ROOT/scripts/wine-fixed-layout.sh" wine "$DOVREL_BUILD/win32/app/Dovrel.exe"
