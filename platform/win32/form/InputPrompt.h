#pragma once

#include <windows.h>

#include <string>

namespace dovrel::win32 {

// The text-input prompt: a modal box owned by `owner`, captioned `title`,
// with the prompt, an edit field holding the default text (selected), OK
// and Cancel. Returns the text as entered, or the empty text on Cancel or
// Esc. The field takes text of any length the system allows, and returns it
// whole.
std::wstring ShowInputPrompt(HWND owner, const std::wstring& title, const std::wstring& prompt,
                             const std::wstring& defaultText);

}  // namespace dovrel::win32
