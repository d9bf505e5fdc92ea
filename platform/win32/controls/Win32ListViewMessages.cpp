#include "platform/win32/controls/Win32ListView.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/controls/KeyState.h"
#include "platform/win32/system/SystemLibrary.h"

// The list view's messages: the notifications it sends its parent, which
// the parent hands back to it (ReflectToControl), and the
// messages to the list itself, before which the control is brought up to
// date with the rows; its keys, its context menu and its scrolling.
namespace dovrel::win32 {

namespace {

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() &&
           CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), static_cast<int>(prefix.size()),
                          prefix.c_str(), static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

}  // namespace

LRESULT Win32ListView::FindItem(const NMLVFINDITEMW& find) const
{
    // Typing the first letters of a row moves to it.
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz || rows_.Count() == 0)
        return -1;
    const std::wstring wanted = find.lvfi.psz;
    const size_t count = rows_.Count();
    const size_t start = find.iStart >= 0 ? static_cast<size_t>(find.iStart) % count : 0;
    for (size_t step = 0; step < count; ++step) {
        const size_t position = (start + step) % count;
        if (StartsWithNoCase(rows_.CellAt(position, 0), wanted))
            return static_cast<LRESULT>(position);
    }
    return -1;
}

bool Win32ListView::OnKeyDown(WPARAM key)
{
    if (!onKeyDown)
        return true;
    auto keyCode = static_cast<std::int16_t>(key);
    std::int16_t shift = CurrentShiftState();
    events_.RunHandler([&] { onKeyDown(keyCode, shift); });
    return keyCode != 0;
}

// From the mouse the point is where it was clicked, and the row there is
// selected first; from the keyboard (Shift+F10, the Applications key) the
// point is -1, -1.
void Win32ListView::OnContextMenu(LPARAM screenPoint)
{
    if (!onContextMenu)
        return;
    POINT at = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    ScreenPoint place;
    if (at.x == -1 && at.y == -1) {
        place = KeyboardMenuPlace();
    } else {
        POINT client = at;
        ScreenToClient(Handle(), &client);
        Synchronize();
        const int row = View().RowAt(client);
        if (row >= 0 && static_cast<size_t>(row) < rows_.Count() && !SelectedAt(row))
            SetSelectedAt(row, true);
        place = {at.x, at.y};
    }
    events_.RunHandler([&] { onContextMenu(place); });
}

// Below the selected row's name, brought into view; without a selected row,
// the list's top left corner.
ScreenPoint Win32ListView::KeyboardMenuPlace()
{
    Synchronize();
    POINT at = {0, 0};
    RECT row = {};
    const int selected = View().NextItem(-1, LVNI_SELECTED);
    if (selected >= 0 && View().EnsureVisible(selected) && View().ItemRect(selected, LVIR_LABEL, row))
        at = {row.left, row.bottom};
    ClientToScreen(Handle(), &at);
    return {at.x, at.y};
}

std::int32_t Win32ListView::TopIndex() const
{
    if (rows_.Count() == 0 || controlCount_ == 0)
        return 0;
    return std::clamp(View().TopIndex(), 0, controlCount_ - 1) + 1;
}

// While drawing is held the control does not follow its scroll range, so the
// row goes to the top once drawing is on again.
void Win32ListView::SetTopIndex(std::int32_t position)
{
    wantedTop_ = position - 1;
    if (!redrawHeld_)
        ScrollToWantedTop();
}

void Win32ListView::ScrollToWantedTop()
{
    if (wantedTop_ < 0 || !Handle())
        return;
    Synchronize();
    const int wanted = std::min(wantedTop_, controlCount_ - 1);
    wantedTop_ = -1;
    RECT first = {};
    if (wanted < 0 || !View().ItemRect(0, LVIR_BOUNDS, first))
        return;
    View().ScrollBy((wanted - View().TopIndex()) * (first.bottom - first.top));
}

bool Win32ListView::OnNotify(NMHDR& header, LRESULT& result)
{
    result = 0;
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
        if (info.item.iItem >= 0)
            ListViewWindow::FillDisplayText(info,
                                            rows_.CellAt(static_cast<size_t>(info.item.iItem), info.item.iSubItem));
        return true;
    }
    case LVN_ODFINDITEMW:
        result = FindItem(reinterpret_cast<const NMLVFINDITEMW&>(header));
        return true;
    case LVN_COLUMNCLICK:
        OnColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem + 1);
        return true;
    case NM_DBLCLK:
        if (onDblClick)
            events_.RunHandler(onDblClick);
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK Win32ListView::ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                         DWORD_PTR self)
{
    auto* list = reinterpret_cast<Win32ListView*>(self);
    // A list whose parent went without telling it (not a form's) lets go
    // of its window here, as a form's list does when the form goes.
    if (message == WM_NCDESTROY) {
        list->ParentDestroying();
        return CommonControls().DefSubclassProc(window, message, wParam, lParam);
    }
    if (message != WM_DESTROY)
        Guarded(false, [&] {
            list->Synchronize();
            return true;
        });
    if (message != 0 && message == ResumeRedrawMessage()) {
        list->ResumeRedraw();
        Guarded(false, [&] {
            list->ScrollToWantedTop();
            return true;
        });
        return 0;
    }
    if (message == WM_PAINT)
        Guarded(false, [&] {
            list->FitEmptyColumnsToHeaders();
            return true;
        });
    // The header's own menu request comes here too; only the list's counts.
    if (message == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == window) {
        Guarded(false, [&] {
            list->OnContextMenu(lParam);
            return true;
        });
        return 0;
    }
    if (message == WM_KEYDOWN) {
        const bool passOn = Guarded(true, [&] { return list->OnKeyDown(wParam); });
        // The handler may have closed the window meanwhile.
        if (!passOn || !IsWindow(window))
            return 0;
    }
    return CommonControls().DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace dovrel::win32
