#pragma once

#include <string>

namespace dovrel::win32 {

// The full path of the running program's file.
std::wstring ProgramPath();
// The folder part of a path, without the trailing backslash.
std::wstring FolderOf(const std::wstring& path);
// The system folder (system32; SysWOW64 for a 32-bit program on 64-bit
// Windows), without the trailing backslash.
std::wstring SystemFolder();

}  // namespace dovrel::win32
