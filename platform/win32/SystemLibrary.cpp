#include "platform/win32/SystemLibrary.h"

#include <shlwapi.h>

#include "platform/Error.h"
#include "platform/win32/Folders.h"
#include "platform/win32/LastError.h"

namespace dovrel::win32 {

namespace {

HMODULE LoadFromSystemFolder(const wchar_t* fileName, const KernelEntryPoints& kernel)
{
    const HMODULE module = kernel.LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    return LoadLibraryW((SystemFolder() + L"\\" + fileName).c_str());
}

}  // namespace

void LoadLibrariesFromSystemFolderOnly(const KernelEntryPoints& kernel)
{
    if (kernel.SetDefaultDllDirectories) {
        // From now on every load by name in the process, the program's own
        // and those a system library makes on its behalf, searches the
        // system folder only; each library can wait for its first use.
        if (!kernel.SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
            ThrowLastError(L"SetDefaultDllDirectories");
        // Except COM: the input method support loads it as soon as a window
        // takes the keyboard focus, before the first paint, and Wine's does
        // so by name without regard to the search flags. Loaded first from
        // the system folder, it is the one found then, at no extra cost.
        SystemLibrary(L"ole32.dll", kernel).KeepLoaded();
        return;
    }
    // Takes at least the current folder out of the search.
    if (kernel.SetDllDirectoryW && !kernel.SetDllDirectoryW(L""))
        ThrowLastError(L"SetDllDirectory");
    // Without the search flags a system library that loads one of these by
    // name on the program's behalf would look in the program's folder first.
    // Loaded now by full path and kept, each is then found in the process
    // instead. This costs the start some time, so only older systems pay it.
    for (const wchar_t* name : {L"comctl32.dll", L"winspool.drv", L"ole32.dll", L"shell32.dll", L"version.dll"})
        SystemLibrary(name, kernel).KeepLoaded();
}

SystemLibrary::SystemLibrary(const wchar_t* fileName, const KernelEntryPoints& kernel)
    : fileName_(fileName), module_(LoadFromSystemFolder(fileName, kernel))
{
    if (!module_) {
        const DWORD code = GetLastError();
        ThrowError((L"Loading " + fileName_).c_str(), code);
    }
}

FARPROC SystemLibrary::Address(const char* name, WORD ordinal, EntryPointLookup lookup) const
{
    FARPROC address = lookup(module_.Get(), name);
    if (!address && ordinal != 0)
        address = lookup(module_.Get(), MAKEINTRESOURCEA(ordinal));
    if (!address) {
        const DWORD code = GetLastError();
        const std::string entry(name);
        ThrowError((L"Finding " + std::wstring(entry.begin(), entry.end()) + L" in " + fileName_).c_str(), code);
    }
    return address;
}

namespace {

// The numbers comctl32 exports the subclass functions under since 5.80.
constexpr WORD kSetWindowSubclassOrdinal = 410;
constexpr WORD kRemoveWindowSubclassOrdinal = 412;
constexpr WORD kDefSubclassProcOrdinal = 413;

// Below 5.80 (Internet Explorer 5) those numbers are no subclass functions.
bool HasSubclassFunctions(const SystemLibrary& comctl32, EntryPointLookup lookup)
{
    DLLVERSIONINFO version = {};
    version.cbSize = sizeof(version);
    const auto getVersion = comctl32.Get<DLLGETVERSIONPROC>("DllGetVersion", 0, lookup);
    return SUCCEEDED(getVersion(&version)) &&
           (version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 80));
}

CommonControlsLibrary LoadKeptCommonControls()
{
    SystemLibrary comctl32(L"comctl32.dll");
    const CommonControlsLibrary functions = LoadCommonControls(comctl32);
    comctl32.KeepLoaded();
    return functions;
}

}  // namespace

CommonControlsLibrary LoadCommonControls(const SystemLibrary& comctl32, EntryPointLookup lookup)
{
    if (!HasSubclassFunctions(comctl32, lookup))
        throw Error(kErrSystem, L"Dovrel needs the common controls of version 5.80 or later (Internet Explorer 5).");
    return CommonControlsLibrary{
        comctl32.Get<decltype(&::InitCommonControlsEx)>("InitCommonControlsEx", 0, lookup),
        comctl32.Get<decltype(&::SetWindowSubclass)>("SetWindowSubclass", kSetWindowSubclassOrdinal, lookup),
        comctl32.Get<decltype(&::RemoveWindowSubclass)>("RemoveWindowSubclass", kRemoveWindowSubclassOrdinal, lookup),
        comctl32.Get<decltype(&::DefSubclassProc)>("DefSubclassProc", kDefSubclassProcOrdinal, lookup),
    };
}

const CommonControlsLibrary& CommonControls()
{
    static const CommonControlsLibrary library = LoadKeptCommonControls();
    return library;
}

void InitListViewClasses(const CommonControlsLibrary& library)
{
    // ICC_STANDARD_CLASSES came with version 6; should an older comctl32
    // refuse the call for it, the list's classes are asked for alone.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    if (library.InitCommonControlsEx(&controls))
        return;
    controls.dwICC = ICC_LISTVIEW_CLASSES;
    if (!library.InitCommonControlsEx(&controls))
        throw Error(kErrSystem, L"The common controls could not be initialised.");
}

}  // namespace dovrel::win32
