#pragma once

#include <string>

#include "platform/win32/system/LaterEntryPoints.h"

namespace dovrel::win32 {

std::wstring WideFromUtf8(const std::string& text);
// The system's ANSI code page, as the spooler's ANSI entry points take it.
std::string AnsiFromWide(const std::wstring& text);
std::wstring WideFromAnsi(const char* text, int length);

// Whether two names are the same but for case, as the system compares the
// names of files and registry keys: code unit by code unit, after the
// locale-independent upper-casing (CompareStringOrdinal with bIgnoreCase).
bool EqualIgnoringCase(const std::wstring& first, const std::wstring& second,
                       const KernelEntryPoints& kernel = Kernel());

}  // namespace dovrel::win32
