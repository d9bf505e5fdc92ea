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
        // From now on every load by name in the process, the program's own
        // and those a system library makes on its behalf, searches the
        // system folder only; each library can wait for its first use.
        if (!setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
            ThrowLastError(L"SetDefaultDllDirectories");
        // Except COM: the input method support loads it as soon as a window
        // takes the keyboard focus, before the first paint, and Wine's does
        // so by name without regard to the search flags. Loaded first from
        // the system folder, it is the one found then, at no extra cost.
        SystemLibrary(L"ole32.dll").KeepLoaded();
        return;
    }
    // Takes at least the current folder out of the search.
    if (!SetDllDirectoryW(L""))
        ThrowLastError(L"SetDllDirectory");
    // Without the search flags a system library that loads one of these by
    // name on the program's behalf would look in the program's folder first.
    // Loaded now by full path and kept, each is then found in the process
    // instead. This costs the start some time, so only older systems pay it.
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
