#pragma once

#include <windows.h>

#include <string>

namespace dovrel::win32 {

// The calls of the file system that a save makes: the system's own, or a
// test's stand-ins that keep Windows' limits where Wine does not.
struct FileSystemCalls {
    decltype(&::CreateFileW) createFile;
    decltype(&::ReplaceFileW) replaceFile;
    decltype(&::MoveFileExW) moveFileEx;
    decltype(&::DeleteFileW) deleteFile;
};
const FileSystemCalls& SystemFileCalls();

// Writes the bytes as the whole of the file at `path`: first into a new
// file beside it, under a short name of its own, every write checked and
// flushed to the disk, then put in the file's place in one step, so that
// the file is either the old one or the whole new one. An existing file
// keeps its security and attributes. False, with the system's description
// of the failure, when any step fails; the new file is then removed again.
bool SaveFileWhole(const std::wstring& path, const std::string& bytes, std::wstring& reason,
                   const FileSystemCalls& calls = SystemFileCalls());

}  // namespace dovrel::win32
