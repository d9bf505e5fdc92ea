#pragma once

#include <windows.h>

#include <vector>

#include "platform/Types.h"

namespace dovrel::win32 {

inline WindowHandle ToWindowHandle(HWND window)
{
    return reinterpret_cast<WindowHandle>(window);
}

// The window behind a handle from the logic; raises dovrel::Error, naming
// the operation, when it is no window (any more).
HWND RequireWindow(WindowHandle window, const wchar_t* operation);

// The work area of a monitor: its screen rectangle without the taskbar and
// other docked bars.
RECT WorkAreaOf(HMONITOR monitor);
// The work areas of every monitor attached now.
std::vector<RECT> MonitorWorkAreas();

// Where a window whose rectangle is given lands on its monitor: the top left
// corner moved, if need be, so that the whole fits the work area when it can
// and the top left stays visible when it cannot.
POINT FitIntoWorkArea(const RECT& window, const RECT& work);

}  // namespace dovrel::win32
