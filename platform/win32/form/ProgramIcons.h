#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

// The icon groups of the program's file, each loaded once per scale, at the
// system's big (Alt+Tab) and small (caption, taskbar) sizes for that scale,
// and kept for as long as this object lives: every window that shows one
// must go before it.
class ProgramIcons {
public:
    // Raises the program's error when the file has no such group.
    void SetOn(HWND window, const std::wstring& groupName, int dpi);
    // Gives a window that got its icons here the sizes of a new scale.
    void FollowScale(HWND window, int dpi);

private:
    struct Sizes {
        UniqueIcon bigIcon;
        UniqueIcon smallIcon;
    };
    const Sizes& Loaded(const std::wstring& groupName, int dpi);

    std::map<std::pair<std::wstring, int>, Sizes> groups_;
    std::map<HWND, std::wstring> shownOn_;
};

}  // namespace dovrel::win32
