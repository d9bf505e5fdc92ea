#pragma once

#include <windows.h>

namespace dovrel::win32 {

// An entry point of a loaded module, as the function type it is called
// as; null where the module or the function is missing.
template <typename Function>
Function FindEntryPoint(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// The functions of kernel32 that came after the oldest Windows the program
// runs on, found at run time so that the program still loads there. Each is
// null where the system lacks it, and the program then does the same job
// another way. Tests fill the struct themselves to take those other ways.
struct KernelEntryPoints {
    // Windows 8; Windows Vista and 7 with update KB2533623.
    BOOL(WINAPI* SetDefaultDllDirectories)(DWORD directoryFlags);
    // Windows XP SP1 and Server 2003.
    BOOL(WINAPI* SetDllDirectoryW)(LPCWSTR folder);
    // Windows Vista and Server 2008.
    int(WINAPI* CompareStringOrdinal)(LPCWCH first, int firstLength, LPCWCH second, int secondLength,
                                      BOOL ignoreCase);
    // Every Windows has it, but only one that has SetDefaultDllDirectories
    // takes the LOAD_LIBRARY_SEARCH_* flags, so they are passed only there.
    // Here so that a test can see what it is asked.
    HMODULE(WINAPI* LoadLibraryExW)(LPCWSTR fileName, HANDLE reserved, DWORD flags);
    // Windows XP: where it is, the side-by-side redirection of the program's
    // manifest applies to libraries loaded by name.
    HANDLE(WINAPI* CreateActCtxW)(PCACTCTXW context);
};

// The running system's, looked up at the first call.
const KernelEntryPoints& Kernel();

// The functions of user32 for a window that follows its monitor's scale,
// looked up the same way; null before Windows 10 version 1607.
struct UserEntryPoints {
    UINT(WINAPI* GetDpiForWindow)(HWND window);
    int(WINAPI* GetSystemMetricsForDpi)(int index, UINT dpi);
    BOOL(WINAPI* AdjustWindowRectExForDpi)(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi);
};

const UserEntryPoints& User();

}  // namespace dovrel::win32
