#pragma once

#include <string>

namespace dovrel::win32 {

// The full path of the running program's file.
std::wstring ProgramPath();
// The folder part of a path, without the trailing backslash.
std::wstring FolderOf(const std::wstring& path);

}  // namespace dovrel::win32
