#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/FormsRuntime.h"

namespace dovrel::win32 {

// The system's Save As dialog (comdlg32, loaded from the system folder at
// its first use and kept), owned by `owner`, offering the kinds of file and
// the file name; it asks before an existing file is replaced. False when
// the user cancelled; raises the program's error when the dialog failed.
bool ShowSaveAsDialog(HWND owner, const std::vector<FileType>& types, const std::wstring& fileName,
                      SaveAsChoice& choice);

}  // namespace dovrel::win32
