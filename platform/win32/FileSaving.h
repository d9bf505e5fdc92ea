#pragma once

#include <string>

namespace dovrel::win32 {

// Writes the bytes as the whole of the file at `path`: first into a new
// file beside it, every write checked and flushed to the disk, then moved
// over the file's name in one step, so that the file is either the old one
// or the whole new one. False, with the system's description of the
// failure, when any step fails; the new file is then removed again.
bool SaveFileWhole(const std::wstring& path, const std::string& bytes, std::wstring& reason);

}  // namespace dovrel::win32
