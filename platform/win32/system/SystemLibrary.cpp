#include "platform/win32/system/SystemLibrary.h"

#include <shlwapi.h>

#include "platform/Error.h"
#include "platform/win32/system/Folders.h"
#include "platform/win32/system/LastError.h"

namespace dovrel::win32 {

namespace {

// The common controls come in two versions: 5.8x in the system folder and 6
// among the side-by-side assemblies, which the program's manifest asks for.
// The redirection to version 6 applies to a load by name only.
bool IsSideBySide(const wchar_t* fileName, const KernelEntryPoints& kernel)
{
    return kernel.CreateActCtxW && lstrcmpiW(fileName, L"comctl32.dll") == 0;
}

HMODULE LoadFromSystemFolder(const wchar_t* fileName, const KernelEntryPoints& kernel)
{
    // The search flags came with SetDefaultDllDirectories; a system without
    // it may refuse them or, worse, ignore them and search as usual.
    if (kernel.SetDefaultDllDirectories)
        return kernel.LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without them: by full path, with the libraries it imports looked for
    // in the system folder first rather than the program's; but the
    // side-by-side library by name, which the manifest's redirection finds
    // before any folder.
    if (IsSideBySide(fileName, kernel))
        return kernel.LoadLibraryExW(fileName, nullptr, 0);
    return kernel.LoadLibraryExW((SystemFolder() + L"\\" + fileName).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The libraries that system libraries load by name on the program's behalf:
// the themes and the common controls for the windows, the spooler's client
// and, where it runs in the program's process (Wine's), its local provider,
// the port monitors' dialogs, the common dialogs and the shell for the
// read-me, COM and the version resources for the about box. Each comes
// after those it loads by name as it loads, so that they are found loaded.
constexpr const wchar_t* kLoadedOnTheProgramsBehalf[] = {
    L"uxtheme.dll",  L"comctl32.dll", L"msimg32.dll",  L"version.dll",  L"ole32.dll",
    L"winspool.drv", L"spoolss.dll",  L"localspl.dll", L"shell32.dll",  L"comdlg32.dll",
    L"compstui.dll", L"localui.dll",  L"tcpmonui.dll",
};

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
    // Loaded now from the system folder and kept, each is then found in the
    // process instead. This costs the start some time, so only older systems
    // pay it. A library the system does not have is nobody's to load.
    for (const wchar_t* name : kLoadedOnTheProgramsBehalf)
        UniqueModule(LoadFromSystemFolder(name, kernel)).KeepForTheProgram();
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

namespace {

WinspoolLibrary LoadKeptWinspool()
{
    SystemLibrary winspool(L"winspool.drv");
    const WinspoolLibrary functions = {
        winspool.Get<decltype(&::EnumPortsA)>("EnumPortsA"),
        winspool.Get<decltype(&::EnumPortsW)>("EnumPortsW"),
        winspool.Get<decltype(&::EnumMonitorsW)>("EnumMonitorsW"),
        winspool.Get<decltype(&::AddPortA)>("AddPortA"),
        winspool.Get<decltype(&::DeletePortW)>("DeletePortW"),
        winspool.Get<decltype(&::ConfigurePortW)>("ConfigurePortW"),
        winspool.Get<decltype(&::EnumPrintersW)>("EnumPrintersW"),
        {
            winspool.Get<decltype(&::OpenPrinterW)>("OpenPrinterW"),
            winspool.Get<decltype(&::ClosePrinter)>("ClosePrinter"),
            winspool.Get<decltype(&::FindFirstPrinterChangeNotification)>("FindFirstPrinterChangeNotification"),
            winspool.Get<decltype(&::FindNextPrinterChangeNotification)>("FindNextPrinterChangeNotification"),
            winspool.Get<decltype(&::FindClosePrinterChangeNotification)>("FindClosePrinterChangeNotification"),
        },
    };
    winspool.KeepLoaded();
    return functions;
}

}  // namespace

const WinspoolLibrary& Winspool()
{
    static const WinspoolLibrary library = LoadKeptWinspool();
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
