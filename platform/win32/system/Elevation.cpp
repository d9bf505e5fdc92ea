#include "platform/win32/system/Elevation.h"

#include <windows.h>

#include "platform/win32/system/UniqueHandle.h"

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

// What the program's token says of elevation: whether it could be read
// (Vista and later), the answer, and the error of a failed read.
struct TokenElevationAnswer {
    bool read = false;
    bool elevated = false;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD error = ERROR_SUCCESS;
};

TokenElevationAnswer ReadTokenElevation()
{
    TokenElevationAnswer answer;
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) {
        answer.error = GetLastError();
        return answer;
    }
    const UniqueKernelHandle token(opened);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (!GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size)) {
        answer.error = GetLastError();
        return answer;
    }
    answer.read = true;
    answer.elevated = elevation.TokenIsElevated != 0;
    if (!GetTokenInformation(token.Get(), TokenElevationType, &answer.type, sizeof answer.type, &size))
        answer.type = TokenElevationTypeDefault;
    return answer;
}

}  // namespace

bool MayRunElevated()
{
    const TokenElevationAnswer token = ReadTokenElevation();
    // Before Vista a token knows no elevation; anything else unknown counts
    // as elevated.
    return token.read ? token.elevated : token.error != ERROR_INVALID_PARAMETER;
}

bool RunsUnelevatedUnderUac()
{
    const TokenElevationAnswer token = ReadTokenElevation();
    // Before Vista a token tells nothing of elevation, and there is no UAC.
    if (!token.read || token.elevated)
        return false;
    if (token.type == TokenElevationTypeLimited)
        return true;
    // A standard user's token is never split, with UAC on or off.
    return UacIsOn();
}

}  // namespace dovrel::win32
