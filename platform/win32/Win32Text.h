#pragma once

#include <string>

namespace dovrel::win32 {

std::wstring WideFromUtf8(const std::string& text);
// The system's ANSI code page, as the spooler's ANSI entry points take it.
std::string AnsiFromWide(const std::wstring& text);
std::wstring WideFromAnsi(const char* text, int length);

}  // namespace dovrel::win32
