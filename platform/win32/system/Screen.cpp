#include "platform/win32/system/Screen.h"

#include <algorithm>

#include "platform/Twips.h"
#include "platform/win32/system/LastError.h"
#include "platform/win32/system/LaterEntryPoints.h"
#include "platform/win32/system/SystemLibrary.h"
#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

namespace {

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) noexcept
{
    try {
        reinterpret_cast<std::vector<RECT>*>(areas)->push_back(MonitorAreaOf(monitor).work);
        return TRUE;
    } catch (...) {
        // Ends the enumeration, which EnumDisplayMonitors then reports.
        return FALSE;
    }
}

}  // namespace

int ScreenDpi()
{
    const UniqueWindowDc screen(GetDC(nullptr));
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : kDefaultDpi;
    return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND window)
{
    const UINT dpi = User().GetDpiForWindow ? User().GetDpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

namespace {

using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR monitor, int type, UINT* dpiX, UINT* dpiY);

// shcore.dll came with Windows 8.1; loaded at the first question, kept.
GetDpiForMonitorFunction LookUpGetDpiForMonitor() noexcept
{
    try {
        SystemLibrary shcore(L"shcore.dll");
        const auto function = shcore.Get<GetDpiForMonitorFunction>("GetDpiForMonitor");
        shcore.KeepLoaded();
        return function;
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

int MonitorDpi(HMONITOR monitor)
{
    static const GetDpiForMonitorFunction getDpiForMonitor = LookUpGetDpiForMonitor();
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    UINT dpiX = 0, dpiY = 0;
    if (monitor && getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY)) && dpiX > 0)
        return static_cast<int>(dpiX);
    return ScreenDpi();
}

int SystemMetricAt(int index, int dpi)
{
    if (User().GetSystemMetricsForDpi)
        return User().GetSystemMetricsForDpi(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

SIZE FrameAt(DWORD style, DWORD exStyle, int dpi)
{
    RECT frame = {0, 0, 0, 0};
    const BOOL adjusted = User().AdjustWindowRectExForDpi
                              ? User().AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))
                              : AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    if (!adjusted)
        ThrowLastError(L"AdjustWindowRectEx");
    return {frame.right - frame.left, frame.bottom - frame.top};
}

MonitorArea MonitorAreaOf(HMONITOR monitor)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!monitor || !GetMonitorInfoW(monitor, &info))
        ThrowError(L"GetMonitorInfo", ERROR_INVALID_MONITOR_HANDLE);
    return {info.rcMonitor, info.rcWork};
}

MonitorArea MonitorAreaAt(const RECT& rect)
{
    return MonitorAreaOf(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST));
}

MonitorArea MonitorAreaOfWindow(HWND window)
{
    return MonitorAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
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

POINT CenteredOn(const RECT& window, const RECT& around, const RECT& work)
{
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    const LONG left = around.left + (around.right - around.left - width) / 2;
    const LONG top = around.top + (around.bottom - around.top - height) / 2;
    return FitIntoWorkArea(RECT{left, top, left + width, top + height}, work);
}

void CenterOverOwner(HWND dialog)
{
    // Only the looks of a box that shows anyway: a failure leaves it where
    // the system put it.
    RECT box = {};
    if (!GetWindowRect(dialog, &box))
        return;
    const HWND owner = GetWindow(dialog, GW_OWNER);
    try {
        const RECT work = MonitorAreaOfWindow(owner ? owner : dialog).work;
        RECT around = work;
        if (owner && IsWindowVisible(owner))
            GetWindowRect(owner, &around);
        const POINT at = CenteredOn(box, around, work);
        SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } catch (...) {
    }
}

}  // namespace dovrel::win32
