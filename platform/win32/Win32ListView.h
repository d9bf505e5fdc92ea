#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ListViewControl.h"

namespace dovrel::win32 {

// A real SysListView32 behind the list view interface.
//
// The rows live here and the control shows them as a virtual (owner-data)
// list, asking for each text as it paints. That keeps sorting in our hands:
// rows added while Sorted is on are collected and merged into place the next
// time anything looks at positions, which costs one sort per batch instead of
// one per row. Items refer to rows by id, so they follow a row as it moves.
class Win32ListView final : public ListViewControl {
public:
    // Creates the control as a child of parent with the given id and
    // rectangle (client pixels of the parent).
    Win32ListView(HWND parent, int controlId, const RECT& bounds);
    ~Win32ListView() override;
    Win32ListView(const Win32ListView&) = delete;
    Win32ListView& operator=(const Win32ListView&) = delete;

    HWND Window() const { return window_; }

    bool Sorted() const override { return sorted_; }
    void SetSorted(bool sorted) override;
    std::int16_t SortKey() const override { return sortKey_; }
    void SetSortKey(std::int16_t key) override;
    std::int32_t SortOrder() const override { return sortOrder_; }
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
    std::intptr_t SendMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) override;

private:
    class Columns;
    class Items;
    class Item;
    class Header;

    struct Row {
        std::wstring text;
        std::vector<std::wstring> subItems;  // sub-item n at index n - 1
    };

    // Rows are stored in the order they were added (row k has id
    // firstId_ + k) and shown in the order of order_, so that an item reaches
    // its row without waiting for a sort.
    std::unique_ptr<ListItem> AddRow(const std::wstring& text);
    void ClearRows();
    std::int32_t RowCount() const { return static_cast<std::int32_t>(rows_.size()); }
    std::unique_ptr<ListItem> ItemAt(std::int32_t position);  // 1-based
    std::unique_ptr<ListItem> ItemAtIndex(int index);         // 0-based display index
    Row& RowOf(std::uint64_t id);
    int IndexOf(std::uint64_t id);                            // 0-based display index
    const std::wstring& TextOf(const Row& row, int column) const;
    void OnSubItemChanged(std::int32_t subItem);

    // Brings the display order and the control's item count up to date;
    // runs before the control handles any message, so every look at
    // positions, by us or by the window system, sees the rows in order.
    void Synchronize();
    void SortDisplayOrder();
    bool Before(std::uint32_t a, std::uint32_t b) const;
    void RequestFullSort();
    void MarkPending();
    void HoldRedraw();
    void ResumeRedraw();

    std::vector<std::uint64_t> SelectedIds() const;
    bool SelectedAt(int index) const;
    void SetSelectedAt(int index, bool selected);
    void ClearSelection();

    void ChangeStyle(LONG_PTR remove, LONG_PTR add);
    void ChangeExStyle(LONG_PTR remove, LONG_PTR add);
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // The width that fits every row of a column (and its header), or -1 to
    // leave the request to the control.
    int AutoSizeWidth(int column, bool useHeader);

    bool OnNotify(NMHDR& header, LRESULT& result);
    static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
    static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);

    HWND parent_ = nullptr;  // borrowed
    HWND window_ = nullptr;  // owned; null once the window system destroyed it
    std::unique_ptr<Columns> columns_;
    std::unique_ptr<Items> items_;
    std::vector<std::wstring> columnTexts_;

    std::vector<Row> rows_;
    std::uint64_t firstId_ = 1;          // ids below this were cleared away
    std::vector<std::uint32_t> order_;   // display index -> row
    std::vector<std::uint32_t> indexOf_; // row -> display index, rebuilt on demand
    bool indexStale_ = false;
    std::size_t orderedPrefix_ = 0;      // order_[0, orderedPrefix_) is in order
    bool fullSortNeeded_ = false;
    bool pending_ = false;               // order or count not yet given to the control
    bool synchronizing_ = false;
    int controlCount_ = 0;               // the item count the control last got
    bool redrawHeld_ = false;            // drawing is off until the posted resume arrives

    bool sorted_ = false;
    std::int16_t sortKey_ = 0;
    std::int32_t sortOrder_ = 0;
    const std::wstring empty_;
};

}  // namespace dovrel::win32
