#include "platform/win32/Win32ListView.h"

#include <commctrl.h>

#include "platform/win32/SystemLibrary.h"

// The list view's messages: the notifications it sends its parent, which a
// subclass of the parent catches before the parent sees them, and the
// messages to the list itself, before which the control is brought up to
// date with the rows.
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

LRESULT CALLBACK Win32ListView::ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self)
{
    auto* list = reinterpret_cast<Win32ListView*>(self);
    if (message == WM_NCDESTROY) {
        CommonControls().RemoveWindowSubclass(window, ParentProc, id);
        list->parent_ = nullptr;
    } else if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header && header->hwndFrom == list->window_.Get()) {
            LRESULT result = 0;
            if (Guarded(true, [&] { return list->OnNotify(*header, result); }))
                return result;
        }
    }
    return CommonControls().DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32ListView::ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self)
{
    auto* list = reinterpret_cast<Win32ListView*>(self);
    if (message == WM_NCDESTROY) {
        CommonControls().RemoveWindowSubclass(window, ListProc, id);
        list->window_.Release();  // destroyed with its parent
        return CommonControls().DefSubclassProc(window, message, wParam, lParam);
    }
    if (message != WM_DESTROY)
        Guarded(false, [&] {
            list->Synchronize();
            return true;
        });
    if (message != 0 && message == ResumeRedrawMessage()) {
        list->ResumeRedraw();
        return 0;
    }
    return CommonControls().DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace dovrel::win32
