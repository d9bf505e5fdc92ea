#include "platform/win32/controls/ListViewWindow.h"

#include <algorithm>
#include <climits>

#include "platform/Error.h"
#include "platform/win32/system/LastError.h"

namespace dovrel::win32 {

UniqueHwnd ListViewWindow::Create(HWND parent, int controlId, const RECT& bounds, DWORD style, DWORD exStyle)
{
    UniqueHwnd window(CreateWindowExW(exStyle, WC_LISTVIEWW, L"", style, bounds.left, bounds.top,
                                      bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                      GetModuleHandleW(nullptr), nullptr));
    if (!window)
        ThrowLastError(L"CreateWindowEx (list view)");
    return window;
}

LONG_PTR ListViewWindow::Style() const
{
    return GetWindowLongPtrW(window_, GWL_STYLE);
}

namespace {

// Replaces the bits remove of the window's long at index by add; says whether
// the long changed.
bool ChangeWindowLong(HWND window, int index, LONG_PTR remove, LONG_PTR add, const wchar_t* call)
{
    const LONG_PTR old = GetWindowLongPtrW(window, index);
    const LONG_PTR updated = (old & ~remove) | add;
    if (updated == old)
        return false;
    SetLastError(0);
    if (SetWindowLongPtrW(window, index, updated) == 0 && GetLastError() != 0)
        ThrowLastError(call);
    return true;
}

}  // namespace

void ListViewWindow::ChangeStyle(LONG_PTR remove, LONG_PTR add)
{
    ChangeWindowLong(window_, GWL_STYLE, remove, add, L"SetWindowLongPtr (list view style)");
}

void ListViewWindow::ChangeExStyle(LONG_PTR remove, LONG_PTR add)
{
    if (!ChangeWindowLong(window_, GWL_EXSTYLE, remove, add, L"SetWindowLongPtr (list view border)"))
        return;
    // The frame is drawn from the extended style only after this.
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ListViewWindow::InsertColumn(int index, const std::wstring& text, int width)
{
    std::wstring buffer = text;  // LVCOLUMN takes a writable string
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = buffer.data();
    column.iSubItem = index;
    if (Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)) != index)
        throw Error(kErrSystem, L"The list refused a new column.");
}

int ListViewWindow::ColumnWidth(int column) const
{
    return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

void ListViewWindow::SetColumnWidth(int column, int width)
{
    // What the control answers is of no use: a width it cannot take leaves
    // the column as it was. The width travels as a signed 16-bit value, so a
    // wider one is cut to the widest there is rather than read as negative
    // (-1 and -2 ask the control to size the column itself).
    const int sent = std::min(width, static_cast<int>(SHRT_MAX));
    Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(sent, 0));
}

void ListViewWindow::SetExtendedStyle(DWORD mask, DWORD bits)
{
    Send(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, static_cast<LPARAM>(bits));
}

HWND ListViewWindow::Header() const
{
    return reinterpret_cast<HWND>(Send(LVM_GETHEADER));
}

HFONT ListViewWindow::Font() const
{
    return reinterpret_cast<HFONT>(Send(WM_GETFONT));
}

int ListViewWindow::ClientWidth() const
{
    RECT client = {};
    GetClientRect(window_, &client);
    return static_cast<int>(client.right);
}

void ListViewWindow::SetItemCount(int count)
{
    // LVSICF_NOSCROLL: rows added at the end do not scroll the list.
    if (!Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOSCROLL))
        throw Error(kErrSystem, L"The list refused its new item count.");
}

void ListViewWindow::DeleteAllItems()
{
    if (!Send(LVM_DELETEALLITEMS))
        throw Error(kErrSystem, L"The list could not be cleared.");
}

int ListViewWindow::NextItem(int start, UINT flags) const
{
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
}

bool ListViewWindow::IsSelected(int index) const
{
    return (Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

bool ListViewWindow::SetItemState(int index, UINT state, UINT mask)
{
    LVITEMW item = {};
    item.stateMask = mask;
    item.state = state;
    return Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != FALSE;
}

bool ListViewWindow::EnsureVisible(int index)
{
    return Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE) != FALSE;
}

int ListViewWindow::TopIndex() const
{
    return static_cast<int>(Send(LVM_GETTOPINDEX));
}

bool ListViewWindow::ItemRect(int index, int part, RECT& rect) const
{
    rect = {};
    rect.left = part;
    return Send(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != FALSE;
}

void ListViewWindow::ScrollBy(int pixels)
{
    Send(LVM_SCROLL, 0, pixels);
}

int ListViewWindow::RowAt(POINT client) const
{
    LVHITTESTINFO hit = {};
    hit.pt = client;
    const auto row = static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & LVHT_ONITEM) ? row : -1;
}

void ListViewWindow::Invalidate()
{
    if (window_)
        InvalidateRect(window_, nullptr, FALSE);
}

void ListViewWindow::SetRedraw(bool redraw)
{
    Send(WM_SETREDRAW, redraw ? TRUE : FALSE);
    // WM_SETREDRAW leaves the repaint to the caller; the header is a child
    // window of its own.
    if (redraw)
        RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT ListViewWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageW(window_, message, wParam, lParam);
}

void ListViewWindow::FillDisplayText(NMLVDISPINFOW& info, const std::wstring& text)
{
    if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0)
        return;
    const size_t length = std::min(text.size(), static_cast<size_t>(info.item.cchTextMax) - 1);
    text.copy(info.item.pszText, length);
    info.item.pszText[length] = L'\0';
}

}  // namespace dovrel::win32
