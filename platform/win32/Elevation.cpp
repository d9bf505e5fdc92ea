#include "platform/win32/Elevation.h"

#include <windows.h>

#include "platform/win32/UniqueHandle.h"

namespace dovrel::win32 {

namespace {

// UAC is on unless the policy turns it off; Windows treats a missing value
// as on. Asked only on Vista and later, which know the 64-bit view.
bool UacIsOn()
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS)
        return true;
    const UniqueHkey key(opened);
    DWORD enabled = 1;
    DWORD type = REG_NONE;
    DWORD size = sizeof enabled;
    if (RegQueryValueExW(key.Get(), L"EnableLUA", nullptr, &type, reinterpret_cast<BYTE*>(&enabled), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return true;
    return enabled != 0;
}

}  // namespace

bool MayRunElevated()
{
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened))
        return true;
    const UniqueKernelHandle token(opened);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size))
        return elevation.TokenIsElevated != 0;
    // Before Vista a token knows no elevation.
    return GetLastError() != ERROR_INVALID_PARAMETER;
}

bool RunsUnelevatedUnderUac()
{
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened))
        return false;
    const UniqueKernelHandle token(opened);
    // Before Vista a token tells nothing of elevation, and there is no UAC.
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (!GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) ||
        elevation.TokenIsElevated)
        return false;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    if (GetTokenInformation(token.Get(), TokenElevationType, &type, sizeof type, &size) &&
        type == TokenElevationTypeLimited)
        return true;
    // A standard user's token is never split, with UAC on or off.
    return UacIsOn();
}

}  // namespace dovrel::win32
