#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Types.h"

namespace dovrel {

// The report-style list view control as the program uses it. Collections and
// items count from 1, as the control's own collections do. Every member may
// raise dovrel::Error; nothing here catches it.

// One column header. Columns are never reordered, so a header stays valid for
// as long as its column exists.
class ColumnHeader {
public:
    virtual ~ColumnHeader() = default;
    virtual std::int32_t Index() const = 0;  // 1-based position
    virtual std::wstring Text() const = 0;
};

class ColumnHeaderCollection {
public:
    virtual ~ColumnHeaderCollection() = default;
    // Appends a column with the default alignment; while the list has no
    // rows, the columns fit their headers, the last one filling the rest.
    virtual std::unique_ptr<ColumnHeader> Add(const std::wstring& text) = 0;
    virtual std::int32_t Count() const = 0;
    virtual std::unique_ptr<ColumnHeader> Item(std::int32_t index) = 0;
};

// One row. An item refers to its row, not to a position: it follows the row
// when the control sorts, and raises kErrInvalidIndex once the row is gone.
class ListItem {
public:
    virtual ~ListItem() = default;
    virtual std::wstring Text() const = 0;
    // Sub-items count from 1; sub-item n shows under column n + 1.
    virtual std::wstring SubItem(std::int32_t index) const = 0;
    virtual void SetSubItem(std::int32_t index, const std::wstring& text) = 0;
    virtual bool Selected() const = 0;
    virtual void SetSelected(bool selected) = 0;
    // Scrolls the list until the item is visible; true when it is.
    virtual bool EnsureVisible() = 0;
};

class ListItemCollection {
public:
    virtual ~ListItemCollection() = default;
    // Adds a row with this text and no sub-items. While the control is sorted
    // the row takes its place in order; otherwise it goes to the end.
    virtual std::unique_ptr<ListItem> Add(const std::wstring& text) = 0;
    virtual void Clear() = 0;
    virtual std::int32_t Count() const = 0;
    virtual std::unique_ptr<ListItem> Item(std::int32_t index) = 0;
};

// The values of the control's properties that the program sets: the report
// view, rows whose text the user cannot edit in place, no border line.
enum class ListViewView : std::int32_t { Report = 3 };
enum class ListLabelEdit : std::int32_t { Manual = 1 };
enum class ListBorderStyle : std::int32_t { None = 0 };

class ListViewControl {
public:
    virtual ~ListViewControl() = default;

    // While Sorted is true the control keeps its rows sorted by column
    // SortKey (0 the row text, n sub-item n) in SortOrder (0 ascending,
    // 1 descending); writing either sorts again, as does Sorted becoming true.
    virtual bool Sorted() const = 0;
    virtual void SetSorted(bool sorted) = 0;
    virtual std::int16_t SortKey() const = 0;
    virtual void SetSortKey(std::int16_t key) = 0;
    virtual std::int32_t SortOrder() const = 0;
    virtual void SetSortOrder(std::int32_t order) = 0;

    // In single-select mode, selecting one row clears every other selection.
    virtual bool MultiSelect() const = 0;
    virtual void SetMultiSelect(bool multiSelect) = 0;

    virtual void SetBorderStyle(ListBorderStyle style) = 0;
    virtual void SetHideSelection(bool hide) = 0;
    virtual void SetLabelEdit(ListLabelEdit mode) = 0;
    virtual void SetView(ListViewView view) = 0;

    virtual WindowHandle hWnd() const = 0;
    virtual ColumnHeaderCollection& ColumnHeaders() = 0;
    virtual ListItemCollection& ListItems() = 0;
    // The selected row (the first one in multi-select mode), or null.
    virtual std::unique_ptr<ListItem> SelectedItem() = 0;

    // Fits the width of column n (from 1) to the texts of its cells and,
    // with useHeader, to its header's text too.
    virtual void AutoSizeColumn(std::int32_t column, bool useHeader) = 0;
    // Sets the extended style bits named in `mask` to their values in
    // `bits`, the platform's LVS_EX_ bits; the others stay as they are.
    virtual void SetExtendedStyle(std::uint32_t mask, std::uint32_t bits) = 0;

    // The position (from 1) of the first row in view; 0 when the list is
    // empty. Setting it scrolls that row to the top as far as the list can.
    virtual std::int32_t TopIndex() const = 0;
    virtual void SetTopIndex(std::int32_t position) = 0;

    // Events of the control, delivered from the window system.
    std::function<void(ColumnHeader& header)> onColumnClick;
    std::function<void()> onDblClick;
    // A key pressed while the list has the focus, after the form's key
    // preview; a handler that sets the key code to 0 keeps it from the list.
    std::function<void(std::int16_t& keyCode, std::int16_t& shift)> onKeyDown;
    // The user asks for the list's context menu: by the right mouse button
    // (a row clicked on is selected first), by Shift+F10 or by the
    // Applications key. `at` is where the menu belongs: the mouse, else the
    // selected row, else the list's top left corner.
    std::function<void(const ScreenPoint& at)> onContextMenu;
};

}  // namespace dovrel
