#pragma once
// The entry points of winspool.drv that the program looks up for its
// commands, answered as a spooler that refuses them: for the stand-ins,
// which serve only the port list. Included by exactly one file of each.
#include <windows.h>

namespace {

inline BOOL Refuse(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI EnumPortsW(LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD returned)
{
    *needed = *returned = 0;
    return Refuse(ERROR_NOT_SUPPORTED);
}

__declspec(dllexport) BOOL WINAPI EnumMonitorsW(LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD returned)
{
    *needed = *returned = 0;
    return Refuse(ERROR_NOT_SUPPORTED);
}

__declspec(dllexport) BOOL WINAPI AddPortA(LPSTR, HWND, LPSTR) { return Refuse(ERROR_NOT_SUPPORTED); }
__declspec(dllexport) BOOL WINAPI DeletePortA(LPSTR, HWND, LPSTR) { return Refuse(ERROR_NOT_SUPPORTED); }
__declspec(dllexport) BOOL WINAPI DeletePortW(LPWSTR, HWND, LPWSTR) { return Refuse(ERROR_NOT_SUPPORTED); }
__declspec(dllexport) BOOL WINAPI ConfigurePortA(LPSTR, HWND, LPSTR) { return Refuse(ERROR_NOT_SUPPORTED); }
__declspec(dllexport) BOOL WINAPI ConfigurePortW(LPWSTR, HWND, LPWSTR) { return Refuse(ERROR_NOT_SUPPORTED); }

}  // extern "C"
