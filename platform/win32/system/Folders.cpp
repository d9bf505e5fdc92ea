#include "platform/win32/system/Folders.h"

#include <windows.h>

#include "platform/win32/system/LastError.h"

namespace dovrel::win32 {

std::wstring ProgramPath()
{
    // GetModuleFileName truncates silently; grow until the path fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
        if (length == 0)
            ThrowLastError(L"GetModuleFileName");
        if (length < size) {
            path.resize(length);
            return path;
        }
        if (size >= 32768)
            ThrowError(L"GetModuleFileName", ERROR_INSUFFICIENT_BUFFER);
        path.resize(static_cast<size_t>(size) * 2);
    }
}

std::wstring FolderOf(const std::wstring& path)
{
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring SystemFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        ThrowLastError(L"GetSystemDirectory");
    return std::wstring(buffer, length);
}

}  // namespace dovrel::win32
