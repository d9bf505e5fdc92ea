#include "platform/win32/SystemLibrary.h"

#include "platform/win32/Win32Error.h"

namespace dovrel::win32 {

namespace {

// Both appeared with an update of Windows 7; a system without them has no
// search flags either, and loads a library named by its full path.
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

SetDefaultDllDirectoriesFunction SetDefaultDllDirectoriesOfKernel()
{
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel)
        return nullptr;
    return reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
}

std::wstring InSystemFolder(const wchar_t* fileName)
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        ThrowLastError(L"GetSystemDirectory");
    return std::wstring(folder, length) + L"\\" + fileName;
}

HMODULE LoadFromSystemFolder(const wchar_t* fileName)
{
    const HMODULE module = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    return LoadLibraryW(InSystemFolder(fileName).c_str());
}

}  // namespace

void LoadLibrariesFromSystemFolderOnly()
{
    if (const auto setDefaultDllDirectories = SetDefaultDllDirectoriesOfKernel()) {
        if (!setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
            ThrowLastError(L"SetDefaultDllDirectories");
    } else if (!SetDllDirectoryW(L"")) {
        // Takes at least the current folder out of the search.
        ThrowLastError(L"SetDllDirectory");
    }
    // The libraries the program uses beyond those imported at start are
    // loaded now and kept: a later load by name, the program's own or one
    // that a system library makes on its behalf, then finds them in the
    // process instead of searching for them.
    for (const wchar_t* name : {L"comctl32.dll", L"winspool.drv", L"ole32.dll", L"shell32.dll", L"version.dll"})
        SystemLibrary(name).KeepLoaded();
}

SystemLibrary::SystemLibrary(const wchar_t* fileName) : fileName_(fileName), module_(LoadFromSystemFolder(fileName))
{
    if (!module_) {
        const DWORD code = GetLastError();
        ThrowError((L"Loading " + fileName_).c_str(), code);
    }
}

FARPROC SystemLibrary::Address(const char* name) const
{
    const FARPROC address = GetProcAddress(module_.Get(), name);
    if (!address) {
        const DWORD code = GetLastError();
        const std::string entry(name);
        ThrowError((L"Finding " + std::wstring(entry.begin(), entry.end()) + L" in " + fileName_).c_str(), code);
    }
    return address;
}

namespace {

CommonControlsLibrary LoadCommonControls()
{
    SystemLibrary library(L"comctl32.dll");
    const CommonControlsLibrary functions = {
        library.Get<decltype(&::InitCommonControlsEx)>("InitCommonControlsEx"),
        library.Get<decltype(&::SetWindowSubclass)>("SetWindowSubclass"),
        library.Get<decltype(&::RemoveWindowSubclass)>("RemoveWindowSubclass"),
        library.Get<decltype(&::DefSubclassProc)>("DefSubclassProc"),
    };
    library.KeepLoaded();
    return functions;
}

}  // namespace

const CommonControlsLibrary& CommonControls()
{
    static const CommonControlsLibrary library = LoadCommonControls();
    return library;
}

}  // namespace dovrel::win32
