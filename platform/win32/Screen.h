#pragma once

#include <windows.h>

#include <vector>

namespace dovrel::win32 {

// The screen's resolution in dots per inch, as the program's windows are
// laid out at; the system's default when the screen cannot say.
int ScreenDpi();

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
