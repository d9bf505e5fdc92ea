#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dovrel {

// The rows of the owner-data list and the order the list shows them in,
// apart from the window that shows them.
//
// Rows are stored in the order they were added and keep their id until the
// rows are cleared, so an item follows its row wherever sorting takes it.
// While the list is sorted, rows added since the last arrangement wait at
// the end and are merged into place in one go: one sort per batch of rows
// instead of one per row.
class RowOrder {
public:
    using RowId = std::uint64_t;
    // Negative, zero or positive as a sorts before, with or after b.
    using Compare = std::function<int(const std::wstring& a, const std::wstring& b)>;

    // Display positions (from 0) of the selected rows and of the focused one.
    struct Selection {
        std::vector<std::size_t> selected;
        std::optional<std::size_t> focused;
    };

    explicit RowOrder(Compare compare);

    RowId Add(std::wstring text);
    void Clear();
    std::size_t Count() const { return rows_.size(); }
    bool Contains(RowId id) const;

    // Column 0 is the row's text, column n its sub-item n; a cell never set
    // reads as empty. A row that is gone raises kErrInvalidIndex.
    const std::wstring& Cell(RowId id, int column) const;
    void SetCell(RowId id, int column, std::wstring text);

    bool Sorted() const { return sorted_; }
    int SortKey() const { return sortKey_; }
    int SortOrder() const { return sortOrder_; }
    // While sorted, the rows are ordered by column SortKey, ascending for
    // SortOrder 0 and descending otherwise; turning it on or changing either
    // sorts every row again at the next arrangement.
    void SetSorted(bool sorted);
    void SetSortKey(int key);
    void SetSortOrder(int order);

    // True while rows added or a changed sort wait for Arrange.
    bool NeedsArranging() const;
    // Brings the display order up to date: waiting rows are merged in after
    // the equal rows already in place, or every row is sorted again (stable)
    // when the sort changed. An unsorted list keeps the order rows came in.
    // `before` names positions in the order as the list last showed it, with
    // `shown` rows; the result names where the same rows are now, ascending.
    // Positions that named no shown row are dropped.
    Selection Arrange(const Selection& before, std::size_t shown);

    // The row at a display position, in the order as it stands.
    RowId IdAt(std::size_t position) const;
    std::size_t PositionOf(RowId id) const;
    const std::wstring& CellAt(std::size_t position, int column) const;

private:
    struct Row {
        std::wstring text;
        std::vector<std::wstring> subItems;  // sub-item n at index n - 1
    };

    std::size_t IndexOf(RowId id) const;
    const std::wstring& CellOf(const Row& row, int column) const;
    bool Before(std::uint32_t a, std::uint32_t b) const;
    void SortWaitingRows();
    void RequestFullSort();

    Compare compare_;
    std::vector<Row> rows_;
    RowId firstId_ = 1;                 // ids below this were cleared away
    std::vector<std::uint32_t> order_;  // display position -> row
    // Rows [0, arranged_) are in place; the rest were added since, in order.
    std::size_t arranged_ = 0;
    bool fullSortNeeded_ = false;
    mutable std::vector<std::uint32_t> positionOf_;  // row -> display position
    mutable bool positionsStale_ = false;

    bool sorted_ = false;
    int sortKey_ = 0;
    int sortOrder_ = 0;
    const std::wstring empty_;
};

}  // namespace dovrel
