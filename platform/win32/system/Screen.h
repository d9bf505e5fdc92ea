#pragma once

#include <windows.h>

#include <vector>

namespace dovrel::win32 {

// The screen's resolution in dots per inch, as the program's windows are
// laid out at; the system's default when the screen cannot say.
int ScreenDpi();
// The scale a window is drawn at: its monitor's where the system draws
// each monitor at its own (Windows 10 version 1607 and later), else the
// screen's.
int WindowDpi(HWND window);
// A monitor's scale (Windows 8.1 and later), else the screen's.
int MonitorDpi(HMONITOR monitor);
// A system metric (GetSystemMetrics) as it is at this scale.
int SystemMetricAt(int index, int dpi);
// What a window's frame adds to its client area at this scale.
SIZE FrameAt(DWORD style, DWORD exStyle, int dpi);

// A monitor's whole rectangle and its work area: the rectangle without the
// taskbar and the other docked bars.
struct MonitorArea {
    RECT monitor;
    RECT work;
};
MonitorArea MonitorAreaOf(HMONITOR monitor);
// Of the monitor that holds most of the rectangle or the window, or the
// nearest one.
MonitorArea MonitorAreaAt(const RECT& rect);
MonitorArea MonitorAreaOfWindow(HWND window);
// The work areas of every monitor attached now.
std::vector<RECT> MonitorWorkAreas();

// Where a window whose rectangle is given lands on its monitor: the top left
// corner moved, if need be, so that the whole fits the work area when it can
// and the top left stays visible when it cannot.
POINT FitIntoWorkArea(const RECT& window, const RECT& work);
// The top left corner of a window of this size centred on `around`, moved
// as FitIntoWorkArea moves it.
POINT CenteredOn(const RECT& window, const RECT& around, const RECT& work);

// Centres a dialog over its owner, or on the work area when it has none or
// the owner is hidden, keeping it inside the work area of the owner's monitor.
void CenterOverOwner(HWND dialog);

}  // namespace dovrel::win32
