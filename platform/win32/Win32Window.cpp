#include "platform/win32/Win32Window.h"

#include <algorithm>

#include "platform/win32/Win32Error.h"

namespace dovrel::win32 {

namespace {

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) noexcept
{
    try {
        reinterpret_cast<std::vector<RECT>*>(areas)->push_back(WorkAreaOf(monitor));
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

HWND RequireWindow(WindowHandle window, const wchar_t* operation)
{
    const auto handle = reinterpret_cast<HWND>(window);
    if (!handle || !IsWindow(handle))
        ThrowError(operation, ERROR_INVALID_WINDOW_HANDLE);
    return handle;
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
