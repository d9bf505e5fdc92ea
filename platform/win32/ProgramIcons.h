#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "platform/win32/UniqueHandle.h"

namespace dovrel::win32 {

// The icon groups of the program's file, each loaded once, at the system's
// big (Alt+Tab) and small (caption, taskbar) sizes, and kept for as long as
// this object lives: every window that shows one must go before it.
class ProgramIcons {
public:
    // Raises the program's error when the file has no such group.
    void SetOn(HWND window, const std::wstring& groupName);

private:
    struct Sizes {
        UniqueIcon bigIcon;
        UniqueIcon smallIcon;
    };
    const Sizes& Loaded(const std::wstring& groupName);

    std::map<std::wstring, Sizes> groups_;
};

}  // namespace dovrel::win32
