#pragma once

namespace dovrel::win32 {

// The application object's title: the caption of every box and prompt of
// the program, the error report's included.
constexpr wchar_t kApplicationTitle[] = L"Orvane - Dovrel";

}  // namespace dovrel::win32
