#pragma once

#include <windows.h>

#include <string>

#include "platform/Error.h"

namespace dovrel::win32 {

// The system's text for an error code, without the trailing line break.
std::wstring SystemMessage(DWORD code);

// Raises the program's error for a failed Windows call, with the call's
// name and the system's description of GetLastError().
[[noreturn]] void ThrowLastError(const wchar_t* call);
[[noreturn]] void ThrowError(const wchar_t* call, DWORD code);

}  // namespace dovrel::win32
