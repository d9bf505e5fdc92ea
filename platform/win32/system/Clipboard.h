#pragma once

#include <windows.h>

#include <string>

namespace dovrel::win32 {

// Puts the text on the clipboard as CF_UNICODETEXT, in place of what it
// held, with `owner` as the clipboard's owner; Windows gives other programs
// the ANSI and OEM forms from it. Raises the program's error when the
// clipboard cannot be had or refuses the text.
void PutTextOnClipboard(HWND owner, const std::wstring& text);

}  // namespace dovrel::win32
