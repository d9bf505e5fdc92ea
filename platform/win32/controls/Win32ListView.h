#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ListViewControl.h"
#include "platform/win32/form/CallbackGuard.h"
#include "platform/win32/controls/ChildControl.h"
#include "platform/win32/controls/ListViewWindow.h"
#include "platform/win32/system/Screen.h"
#include "platform/win32/system/UniqueHandle.h"
#include "platform/win32/form/Window.h"
#include "platform/RowOrder.h"

namespace dovrel::win32 {

// The list view control of the program on a real SysListView32.
//
// The rows live in a RowOrder and the control shows them as an owner-data
// list, asking for each text as it paints, so sorting stays in our hands.
// Before the control handles any message, and before we look at positions,
// the order is arranged and the control's item count brought up to date.
// A batch of changes (filling, sorting, sizing the columns, selecting) is
// made with drawing off and drawn once, after the handler that makes it.
class Win32ListView final : public ListViewControl, public ChildControl {
public:
    // Creates the control as a child of parent with the given id and
    // rectangle (client pixels of the parent); its events run in `events`.
    Win32ListView(HWND parent, int controlId, const RECT& bounds, EventSink& events = ImmediateEvents());
    ~Win32ListView() override;
    Win32ListView(const Win32ListView&) = delete;
    Win32ListView& operator=(const Win32ListView&) = delete;

    bool Sorted() const override { return rows_.Sorted(); }
    void SetSorted(bool sorted) override;
    std::int16_t SortKey() const override { return static_cast<std::int16_t>(rows_.SortKey()); }
    void SetSortKey(std::int16_t key) override;
    std::int32_t SortOrder() const override { return rows_.SortOrder(); }
    void SetSortOrder(std::int32_t order) override;
    bool MultiSelect() const override;
    void SetMultiSelect(bool multiSelect) override;
    void SetBorderStyle(ListBorderStyle style) override;
    void SetHideSelection(bool hide) override;
    void SetLabelEdit(ListLabelEdit mode) override;
    void SetView(ListViewView view) override;
    WindowHandle hWnd() const override;
    ColumnHeaderCollection& ColumnHeaders() override;
    ListItemCollection& ListItems() override;
    std::unique_ptr<ListItem> SelectedItem() override;
    void AutoSizeColumn(std::int32_t column, bool useHeader) override;
    void SetExtendedStyle(std::uint32_t mask, std::uint32_t bits) override;
    std::int32_t TopIndex() const override;
    void SetTopIndex(std::int32_t position) override;

    // Drawn with this font at this scale: rows and header follow the font,
    // a column never fitted keeps its width in inches.
    void FollowScale(HFONT font, int dpi);
    // Every column fitted again as it was last fitted, for a new font or size.
    void FitColumnsAgain();

    // The list's notifications: its texts, typing to find a row, a column's
    // header clicked, a double click.
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    void ParentDestroying() override;

private:
    class Columns;
    class Items;
    class Item;
    class Header;

    std::unique_ptr<ListItem> AddRow(const std::wstring& text);
    void ClearRows();
    std::unique_ptr<ListItem> ItemAt(std::int32_t position);  // 1-based
    int PositionOf(RowOrder::RowId id);                       // 0-based, in step with the control
    void SetSubItem(RowOrder::RowId id, std::int32_t index, const std::wstring& text);
    void OnOrderChanged();
    void HoldRedraw();
    void ResumeRedraw();
    static UINT ResumeRedrawMessage();

    // Arranges the rows and gives the control their count, then puts the
    // selection back on the rows it was on.
    void Synchronize();
    RowOrder::Selection ShownSelection() const;
    void ApplySelection(const RowOrder::Selection& selection);
    bool SelectedAt(int position) const;
    void SetSelectedAt(int position, bool selected);

    // Win32ListViewMessages.cpp
    void OnColumnClick(std::int32_t column);  // 1-based
    LRESULT FindItem(const NMLVFINDITEMW& find) const;
    // False when the key handler kept the key from the list.
    bool OnKeyDown(WPARAM key);
    // Fits the empty list's columns to their headers, when a column came since.
    void FitEmptyColumnsToHeaders();
    void OnContextMenu(LPARAM screenPoint);
    ScreenPoint KeyboardMenuPlace();
    void ScrollToWantedTop();
    static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);

    ListViewWindow View() const { return ListViewWindow(Handle()); }

    EventSink& events_;
    std::unique_ptr<Columns> columns_;
    std::unique_ptr<Items> items_;
    std::vector<std::wstring> columnTexts_;
    enum class ColumnFit { None, Contents, ContentsAndHeader };
    std::vector<ColumnFit> columnFits_;  // how each column was last fitted
    int dpi_ = ScreenDpi();
    RowOrder rows_;
    int controlCount_ = 0;  // the item count the control last got
    bool pending_ = false;  // order or count not yet given to the control
    bool headersToFit_ = false;  // the empty list's columns, at its next paint
    bool synchronizing_ = false;
    bool redrawHeld_ = false;  // drawing is off until the posted resume arrives
    int wantedTop_ = -1;       // the row to scroll to the top once drawing is on again
};

}  // namespace dovrel::win32
