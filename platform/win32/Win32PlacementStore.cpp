#include "platform/win32/Win32PlacementStore.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/PlacementRecord.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Screen.h"
#include "platform/win32/Window.h"

namespace dovrel::win32 {

namespace {

constexpr wchar_t kProgramKey[] = L"Software\\Orvane\\Dovrel";

// The stored value: REG_BINARY, a PlacementRecord as EncodePlacement lays it out.
static_assert(kShowNormal == SW_SHOWNORMAL, "the record keeps the platform's show command");

// How much of the caption band must lie on a monitor for the user to grab it.
constexpr LONG kMinGrip = 100;

std::wstring KeyPath(const std::wstring& section)
{
    return section.empty() ? std::wstring(kProgramKey) : std::wstring(kProgramKey) + L"\\" + section;
}

// GetWindowPlacement and SetWindowPlacement give the normal rectangle of an
// ordinary top-level window in workspace coordinates, which are offset from
// the screen's by the bars docked at the top and left of its monitor. The
// registry holds screen coordinates so that the visibility check can compare
// them with the monitors.
bool UsesWorkspaceCoordinates(HWND window)
{
    return !(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) &&
           !(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD);
}

POINT WorkspaceOffset(const RECT& rect)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info))
        ThrowError(L"GetMonitorInfo", ERROR_INVALID_MONITOR_HANDLE);
    return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

RECT Offset(RECT rect, LONG dx, LONG dy)
{
    OffsetRect(&rect, dx, dy);
    return rect;
}

// The caption band, the strip along the top edge by which the window is
// moved, must lie on the work area of one monitor: all of its height and at
// least kMinGrip pixels of its width (all of it for a narrower window).
bool CaptionReachable(const RECT& rect)
{
    const LONG band = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
    const RECT strip = {rect.left, rect.top, rect.right, rect.top + std::min(band, rect.bottom - rect.top)};
    const LONG grip = std::min(kMinGrip, strip.right - strip.left);
    for (const RECT& work : MonitorWorkAreas()) {
        RECT part;
        if (IntersectRect(&part, &strip, &work) && part.right - part.left >= grip &&
            part.bottom - part.top == strip.bottom - strip.top)
            return true;
    }
    return false;
}

WINDOWPLACEMENT PlacementOf(HWND window)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement))
        ThrowLastError(L"GetWindowPlacement");
    return placement;
}

}  // namespace

bool Win32PlacementStore::LoadPlacement(const std::wstring& section, const std::wstring& name, Form& form,
                                        FormsRuntime&, std::int32_t, std::int32_t, std::int32_t, Truth)
{
    const HWND window = RequireWindow(form.hWnd(), L"LoadPlacement");
    const UniqueHkey key = OpenUserKey(KeyPath(section), KEY_QUERY_VALUE);
    if (!key)
        return false;
    const auto value = ReadValue(key.Get(), name);
    if (!value || value->type != REG_BINARY)
        return false;
    const std::optional<PlacementRecord> stored = DecodePlacement(value->data.data(), value->data.size());
    if (!stored)
        return false;
    RECT rect = {stored->left, stored->top, stored->right, stored->bottom};
    if (!CaptionReachable(rect))
        return false;

    if (UsesWorkspaceCoordinates(window)) {
        const POINT offset = WorkspaceOffset(rect);
        rect = Offset(rect, -offset.x, -offset.y);
    }
    WINDOWPLACEMENT placement = PlacementOf(window);
    placement.flags = 0;
    placement.rcNormalPosition = rect;
    // The form is loaded hidden and must stay so until it is shown; a
    // window already on screen is brought back to its normal state there.
    // Either way a stored minimised or maximised state is not restored.
    placement.showCmd = IsWindowVisible(window) ? SW_SHOWNOACTIVATE : SW_HIDE;
    if (!SetWindowPlacement(window, &placement))
        ThrowLastError(L"SetWindowPlacement");
    return true;
}

void Win32PlacementStore::SavePlacement(const std::wstring& section, const std::wstring& name, Form& form,
                                        FormsRuntime&, Truth)
{
    const HWND window = RequireWindow(form.hWnd(), L"SavePlacement");
    const WINDOWPLACEMENT placement = PlacementOf(window);
    RECT rect = placement.rcNormalPosition;
    if (UsesWorkspaceCoordinates(window)) {
        const POINT offset = WorkspaceOffset(rect);
        rect = Offset(rect, offset.x, offset.y);
    }
    const PlacementBytes stored = EncodePlacement({rect.left, rect.top, rect.right, rect.bottom, placement.showCmd});
    const UniqueHkey key = CreateUserKey(KeyPath(section), KEY_SET_VALUE);
    WriteBinary(key.Get(), name, stored.data(), static_cast<DWORD>(stored.size()));
}

}  // namespace dovrel::win32
