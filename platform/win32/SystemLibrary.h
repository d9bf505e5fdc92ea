#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/win32/UniqueHandle.h"

namespace dovrel::win32 {

// Makes every library loaded from now on come from the system folder only,
// never from the program's folder or the current one, where anybody could
// have put a library of a system library's name. On a system without
// SetDefaultDllDirectories it also loads the libraries the program uses from
// there at once. Called first thing.
void LoadLibrariesFromSystemFolderOnly();

// A library of the system folder, loaded for as long as the object lives.
// The program imports at start only the libraries that Windows always takes
// from the system folder (kernel32, user32, gdi32, advapi32, msvcrt); the
// others it uses are loaded through this.
class SystemLibrary {
public:
    // Raises the program's error when the library cannot be loaded.
    explicit SystemLibrary(const wchar_t* fileName);

    // The entry point `name`; raises the program's error when the library
    // has none.
    template <typename Function>
    Function Get(const char* name) const
    {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(Address(name)));
    }

    // Leaves the library loaded for the rest of the program.
    void KeepLoaded() { module_.Release(); }

private:
    FARPROC Address(const char* name) const;

    std::wstring fileName_;
    UniqueModule module_;
};

// The entry points of the common controls (version 6, through the program's
// manifest) that the program uses. Loaded at the first call and kept to the
// end of the program, since its windows need them until the last moment.
struct CommonControlsLibrary {
    decltype(&::InitCommonControlsEx) InitCommonControlsEx;
    decltype(&::SetWindowSubclass) SetWindowSubclass;
    decltype(&::RemoveWindowSubclass) RemoveWindowSubclass;
    decltype(&::DefSubclassProc) DefSubclassProc;
};
const CommonControlsLibrary& CommonControls();

}  // namespace dovrel::win32
