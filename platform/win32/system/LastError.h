#pragma once

#include <windows.h>

#include <string>

#include "platform/Error.h"

namespace dovrel::win32 {

// The system's text for an error code in the user's language, as the
// system words it but without the trailing line break; "Error N." where
// the system has no text for it.
std::wstring SystemText(DWORD code);
// The same without its closing full stop, for a text that goes on after it.
std::wstring SystemMessage(DWORD code);

// Raises the program's error for a failed Windows call, with the call's
// name and the system's description of GetLastError().
[[noreturn]] void ThrowLastError(const wchar_t* call);
[[noreturn]] void ThrowError(const wchar_t* call, DWORD code);

}  // namespace dovrel::win32
