#include "platform/win32/Screen.h"

#include <algorithm>

#include "platform/win32/Twips.h"
#include "platform/win32/Win32Error.h"

namespace dovrel::win32 {

namespace {

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) noexcept
{
    try {
        reinterpret_cast<std::vector<RECT>*>(areas)->push_back(WorkAreaOf(monitor));
        return TRUE;
    } catch (...) {
        // Ends the enumeration, which EnumDisplayMonitors then reports.
        return FALSE;
    }
}

}  // namespace

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kDefaultDpi;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

RECT WorkAreaOf(HMONITOR monitor)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!monitor || !GetMonitorInfoW(monitor, &info))
        ThrowError(L"GetMonitorInfo", ERROR_INVALID_MONITOR_HANDLE);
    return info.rcWork;
}

std::vector<RECT> MonitorWorkAreas()
{
    std::vector<RECT> areas;
    if (!EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&areas)))
        ThrowLastError(L"EnumDisplayMonitors");
    return areas;
}

POINT FitIntoWorkArea(const RECT& window, const RECT& work)
{
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    return {std::max(work.left, std::min(window.left, work.right - width)),
            std::max(work.top, std::min(window.top, work.bottom - height))};
}

}  // namespace dovrel::win32
