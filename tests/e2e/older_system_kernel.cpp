// Dovrel.exe as it runs on Windows XP SP1 to 7 without KB2533623: linked in
// place of the lookup of kernel32's later entry points, this hides
// SetDefaultDllDirectories and makes LoadLibraryExW refuse the search flags,
// so the program takes the ways it takes on those systems.
#include "platform/win32/system/LaterEntryPoints.h"

namespace dovrel::win32 {

namespace {

HMODULE WINAPI LoadLibraryWithoutSearchFlags(LPCWSTR fileName, HANDLE reserved, DWORD flags)
{
    if (flags & 0x1F00) {  // LOAD_LIBRARY_SEARCH_*
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return LoadLibraryExW(fileName, reserved, flags);
}

}  // namespace

const KernelEntryPoints& Kernel()
{
    static const KernelEntryPoints entries = {nullptr, &::SetDllDirectoryW, nullptr, LoadLibraryWithoutSearchFlags,
                                              &::CreateActCtxW};
    return entries;
}

}  // namespace dovrel::win32
