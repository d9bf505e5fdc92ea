#include "platform/win32/system/Win32PlacementStore.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/PlacementRecord.h"
#include "platform/win32/system/Screen.h"
#include "platform/Twips.h"
#include "platform/win32/system/LastError.h"
#include "platform/win32/system/Registry.h"
#include "platform/win32/form/Window.h"

namespace dovrel::win32 {

namespace {

constexpr wchar_t kProgramKey[] = L"Software\\Orvane\\Dovrel";

// The stored value: REG_BINARY, a PlacementRecord as EncodePlacement lays it out.
static_assert(kShowNormal == SW_SHOWNORMAL && kShowMinimized == SW_SHOWMINIMIZED && kShowMaximized == SW_SHOWMAXIMIZED,
              "the record keeps the platform's show command");

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
    const MonitorArea area = MonitorAreaAt(rect);
    return {area.work.left - area.monitor.left, area.work.top - area.monitor.top};
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

// What the window's frame (caption, borders) adds to its client area, in
// pixels at this scale.
SIZE FrameSize(HWND window, int dpi)
{
    return FrameAt(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                   static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
}

// A placement saved at another scale keeps the client area's size in
// inches, at the scale of the monitor it lands on; it then moves, when it
// must, to fit that monitor's work area.
RECT RectangleAtThisResolution(HWND window, const PlacementRecord& stored)
{
    const RECT saved = {stored.left, stored.top, stored.right, stored.bottom};
    const int dpi = MonitorDpi(MonitorFromRect(&saved, MONITOR_DEFAULTTONEAREST));
    const SIZE frame = FrameSize(window, dpi);
    const PixelRect restored = RestoredRectangle(stored, dpi, frame.cx, frame.cy);
    RECT rect = {restored.left, restored.top, restored.right, restored.bottom};
    if (stored.dpi <= 0 || stored.dpi == dpi)
        return rect;
    const POINT fitted = FitIntoWorkArea(rect, MonitorAreaAt(rect).work);
    return Offset(rect, fitted.x - rect.left, fitted.y - rect.top);
}

// A window saved on a larger screen, or grown by a higher resolution, is
// reduced to the work area of the monitor it opens on and kept inside it.
RECT FittedToItsMonitor(const RECT& rect)
{
    const RECT work = MonitorAreaAt(rect).work;
    const PixelRect fitted = FittedIntoWorkArea({rect.left, rect.top, rect.right, rect.bottom},
                                                {work.left, work.top, work.right, work.bottom});
    return {fitted.left, fitted.top, fitted.right, fitted.bottom};
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
    RECT rect = RectangleAtThisResolution(window, *stored);
    if (!CaptionReachable(rect))
        return false;
    rect = FittedToItsMonitor(rect);

    if (UsesWorkspaceCoordinates(window)) {
        const POINT offset = WorkspaceOffset(rect);
        rect = Offset(rect, -offset.x, -offset.y);
    }
    WINDOWPLACEMENT placement = PlacementOf(window);
    placement.flags = 0;
    placement.rcNormalPosition = rect;
    // The form is loaded hidden and must stay so until it is shown; a
    // window already on screen is brought back to its normal state there.
    // Either way a window saved minimised or maximised comes back normal, at
    // its normal rectangle.
    placement.showCmd = IsWindowVisible(window) ? SW_SHOWNOACTIVATE : SW_HIDE;
    if (!SetWindowPlacement(window, &placement))
        ThrowLastError(L"SetWindowPlacement");
    // Onto a monitor of another scale, the window took the rectangle the
    // system suggested for it there; now on that monitor, it takes its own.
    const WINDOWPLACEMENT taken = PlacementOf(window);
    if (!EqualRect(&taken.rcNormalPosition, &placement.rcNormalPosition) && !SetWindowPlacement(window, &placement))
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
    const int dpi = WindowDpi(window);
    const SIZE frame = FrameSize(window, dpi);
    PlacementRecord record;
    record.left = rect.left;
    record.top = rect.top;
    record.right = rect.right;
    record.bottom = rect.bottom;
    record.showCmd = IsIconic(window) ? kShowMinimized : IsZoomed(window) ? kShowMaximized : kShowNormal;
    record.dpi = dpi;
    record.clientWidth = std::max<LONG>(rect.right - rect.left - frame.cx, 1);
    record.clientHeight = std::max<LONG>(rect.bottom - rect.top - frame.cy, 1);
    const std::vector<std::uint8_t> stored = EncodePlacement(record);
    const UniqueHkey key = CreateUserKey(KeyPath(section), KEY_SET_VALUE);
    WriteBinary(key.Get(), name, stored.data(), static_cast<DWORD>(stored.size()));
}

}  // namespace dovrel::win32
