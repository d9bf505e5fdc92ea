#pragma once

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <string>

#include "platform/win32/system/LaterEntryPoints.h"
#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

// Makes every library loaded from now on come from the system folder only,
// never from the program's folder or the current one, where anybody could
// have put a library of a system library's name. Called first thing. Each
// Windows gets the safest search it has: SetDefaultDllDirectories, with
// which each library waits for its first use; before it (XP SP1 to 7 without
// KB2533623) SetDllDirectory(""), which takes the current folder out; before
// that (Windows 2000) nothing. Without SetDefaultDllDirectories the libraries
// that the program and the system libraries it uses load by name are loaded
// at once from the system folder, and kept.
void LoadLibrariesFromSystemFolderOnly(const KernelEntryPoints& kernel = Kernel());

// GetProcAddress, or a test's stand-in for it.
using EntryPointLookup = FARPROC(WINAPI*)(HMODULE module, LPCSTR nameOrOrdinal);

// A library of the system folder, loaded for as long as the object lives.
// The program imports at start only the libraries that Windows always takes
// from the system folder (kernel32, user32, gdi32, advapi32, msvcrt); the
// others it uses are loaded through this: with LOAD_LIBRARY_SEARCH_SYSTEM32
// where the system takes it, else by the library's full path in the system
// folder; comctl32 then by its name, since only a load by name is redirected
// to the version 6 that the program's manifest asks for (XP and later).
class SystemLibrary {
public:
    // Raises the program's error when the library cannot be loaded.
    explicit SystemLibrary(const wchar_t* fileName, const KernelEntryPoints& kernel = Kernel());

    // The entry point `name`; raises the program's error when the library
    // has none.
    template <typename Function>
    Function Get(const char* name) const
    {
        return Cast<Function>(Address(name, 0, &::GetProcAddress));
    }
    // The same, or the entry point numbered `ordinal` where the library
    // exports the function by number only.
    template <typename Function>
    Function Get(const char* name, WORD ordinal, EntryPointLookup lookup) const
    {
        return Cast<Function>(Address(name, ordinal, lookup));
    }

    // Leaves the library loaded for the rest of the program.
    void KeepLoaded() { module_.KeepForTheProgram(); }

private:
    template <typename Function>
    static Function Cast(FARPROC address)
    {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
    }
    FARPROC Address(const char* name, WORD ordinal, EntryPointLookup lookup) const;

    std::wstring fileName_;
    UniqueModule module_;
};

// The entry points of the common controls that the program uses. Loaded at
// the first call and kept to the end of the program, since its windows need
// them until the last moment.
struct CommonControlsLibrary {
    decltype(&::InitCommonControlsEx) InitCommonControlsEx;
    decltype(&::SetWindowSubclass) SetWindowSubclass;
    decltype(&::RemoveWindowSubclass) RemoveWindowSubclass;
    decltype(&::DefSubclassProc) DefSubclassProc;
};
const CommonControlsLibrary& CommonControls();

// Finds the entry points in comctl32. Version 6 (the program's manifest asks
// for it: XP and later) exports the subclass functions by name; 5.80 to 5.82
// (Windows 2000, or XP when the manifest is not heeded) by number only.
// Raises the program's error for an older comctl32, which has no subclass
// functions: the list cannot work without them.
CommonControlsLibrary LoadCommonControls(const SystemLibrary& comctl32, EntryPointLookup lookup = &::GetProcAddress);

// The spooler's entry points for change notifications.
struct PortWatchFunctions {
    decltype(&::OpenPrinterW) openPrinter;
    decltype(&::ClosePrinter) closePrinter;
    decltype(&::FindFirstPrinterChangeNotification) findFirst;
    decltype(&::FindNextPrinterChangeNotification) findNext;
    decltype(&::FindClosePrinterChangeNotification) findClose;
};

// The entry points of winspool.drv that the program uses. Loaded at the
// first call and kept to the end of the program; the window is on the
// screen before the spooler is first asked. The first call must come from
// the thread that makes the windows: under Wine the library's start-up code
// initialises the window system, which must not happen on a second thread
// while the first window is made. Raises the program's error while the
// library cannot be loaded; the next call tries again.
struct WinspoolLibrary {
    decltype(&::EnumPortsA) enumPortsA;
    decltype(&::EnumPortsW) enumPortsW;
    decltype(&::EnumMonitorsW) enumMonitorsW;
    decltype(&::AddPortA) addPortA;
    decltype(&::DeletePortW) deletePortW;
    decltype(&::ConfigurePortW) configurePortW;
    decltype(&::EnumPrintersW) enumPrintersW;
    PortWatchFunctions watch;
};
const WinspoolLibrary& Winspool();

// Registers the list view's window classes, and those of the standard
// controls where comctl32 has its own (version 6). Raises the program's
// error when it cannot.
void InitListViewClasses(const CommonControlsLibrary& library = CommonControls());

}  // namespace dovrel::win32
