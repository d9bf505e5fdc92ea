#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

// A SysListView32 window in the platform's own words: the one place that
// fills LVITEM and LVCOLUMN. It owns nothing: whoever creates the window
// owns it. Failures the program depends on raise the program's error.
class ListViewWindow {
public:
    explicit ListViewWindow(HWND window) : window_(window) {}

    static UniqueHwnd Create(HWND parent, int controlId, const RECT& bounds, DWORD style, DWORD exStyle);
    HWND hWnd() const { return window_; }

    LONG_PTR Style() const;
    void ChangeStyle(LONG_PTR remove, LONG_PTR add);
    void ChangeExStyle(LONG_PTR remove, LONG_PTR add);
    bool InReportView() const { return (Style() & LVS_TYPEMASK) == LVS_REPORT; }

    // LVS_EX_ bits in `mask` set to their values in `bits`.
    void SetExtendedStyle(DWORD mask, DWORD bits);

    void InsertColumn(int index, const std::wstring& text, int width);
    int ColumnWidth(int column) const;
    // A width in pixels, or LVSCW_AUTOSIZE or LVSCW_AUTOSIZE_USEHEADER for
    // the control to measure itself.
    void SetColumnWidth(int column, int width);
    HWND Header() const;
    HFONT Font() const;
    int ClientWidth() const;

    // Owner data: the control holds only the number of rows and their
    // states, and asks for every text (LVN_GETDISPINFO).
    void SetItemCount(int count);
    void DeleteAllItems();
    // The next row after `start` (-1: from the first) with these LVNI_ flags; -1 when none.
    int NextItem(int start, UINT flags) const;
    bool IsSelected(int index) const;
    // The LVIS_ state bits in `mask` of a row (-1: of every row); false when
    // the control refused.
    bool SetItemState(int index, UINT state, UINT mask);
    bool EnsureVisible(int index);
    // The first row in view (from 0).
    int TopIndex() const;
    // A row's rectangle (LVIR_BOUNDS or LVIR_LABEL) in client pixels; false
    // when the list has no such row.
    bool ItemRect(int index, int part, RECT& rect) const;
    // Scrolls the rows by this many pixels, down for positive.
    void ScrollBy(int pixels);
    // The row under a point in client pixels, or -1.
    int RowAt(POINT client) const;
    void Invalidate();
    // WM_SETREDRAW: while off, the control neither recomputes nor repaints
    // itself at each change. On again, it is redrawn whole, header included.
    void SetRedraw(bool redraw);

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // Copies a cell's text into the buffer the control offers with
    // LVN_GETDISPINFO, cut to fit.
    static void FillDisplayText(NMLVDISPINFOW& info, const std::wstring& text);

private:
    HWND window_ = nullptr;
};

}  // namespace dovrel::win32
