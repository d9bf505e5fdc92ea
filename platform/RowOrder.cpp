#include "platform/RowOrder.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/Error.h"

namespace dovrel {

namespace {

[[noreturn]] void ThrowRowGone()
{
    throw Error(kErrInvalidIndex, L"The list item is no longer in the list.");
}

}  // namespace

RowOrder::RowOrder(Compare compare) : compare_(std::move(compare)) {}

RowOrder::RowId RowOrder::Add(std::wstring text)
{
    if (rows_.size() >= std::numeric_limits<std::uint32_t>::max())
        throw Error(kErrOverflow, L"Overflow");
    const auto row = static_cast<std::uint32_t>(rows_.size());
    rows_.push_back(Row{std::move(text), {}});
    order_.push_back(row);
    if (!positionsStale_)
        positionOf_.push_back(row);
    return firstId_ + row;
}

void RowOrder::Clear()
{
    firstId_ += rows_.size();
    rows_.clear();
    order_.clear();
    positionOf_.clear();
    positionsStale_ = false;
    arranged_ = 0;
    fullSortNeeded_ = false;
}

bool RowOrder::Contains(RowId id) const
{
    return id >= firstId_ && id - firstId_ < rows_.size();
}

std::size_t RowOrder::IndexOf(RowId id) const
{
    if (!Contains(id))
        ThrowRowGone();
    return static_cast<std::size_t>(id - firstId_);
}

const std::wstring& RowOrder::CellOf(const Row& row, int column) const
{
    if (column == 0)
        return row.text;
    if (column < 0 || static_cast<std::size_t>(column) > row.subItems.size())
        return empty_;
    return row.subItems[static_cast<std::size_t>(column) - 1];
}

const std::wstring& RowOrder::Cell(RowId id, int column) const
{
    return CellOf(rows_[IndexOf(id)], column);
}

void RowOrder::SetCell(RowId id, int column, std::wstring text)
{
    const std::size_t index = IndexOf(id);
    if (column < 0)
        throw Error(kErrInvalidIndex, L"Index out of bounds.");
    Row& row = rows_[index];
    if (column == 0) {
        row.text = std::move(text);
    } else {
        if (row.subItems.size() < static_cast<std::size_t>(column))
            row.subItems.resize(static_cast<std::size_t>(column));
        row.subItems[static_cast<std::size_t>(column) - 1] = std::move(text);
    }
    // A row still waiting is merged by its new text anyway; one in place
    // may have to move.
    if (sorted_ && column == sortKey_ && index < arranged_)
        RequestFullSort();
}

void RowOrder::SetSorted(bool sorted)
{
    sorted_ = sorted;
    if (sorted_)
        RequestFullSort();
}

void RowOrder::SetSortKey(int key)
{
    sortKey_ = key;
    if (sorted_)
        RequestFullSort();
}

void RowOrder::SetSortOrder(int order)
{
    sortOrder_ = order;
    if (sorted_)
        RequestFullSort();
}

void RowOrder::RequestFullSort()
{
    fullSortNeeded_ = true;
}

bool RowOrder::NeedsArranging() const
{
    return sorted_ && (fullSortNeeded_ || arranged_ < order_.size());
}

RowOrder::Selection RowOrder::Arrange(const Selection& before, std::size_t shown)
{
    // The rows the positions name, before anything moves.
    const std::size_t valid = std::min(shown, order_.size());
    std::vector<RowId> selected;
    for (std::size_t position : before.selected)
        if (position < valid)
            selected.push_back(IdAt(position));
    std::optional<RowId> focused;
    if (before.focused && *before.focused < valid)
        focused = IdAt(*before.focused);

    if (NeedsArranging())
        SortWaitingRows();
    arranged_ = order_.size();
    fullSortNeeded_ = false;

    Selection after;
    for (RowId id : selected)
        after.selected.push_back(PositionOf(id));
    std::sort(after.selected.begin(), after.selected.end());
    after.selected.erase(std::unique(after.selected.begin(), after.selected.end()), after.selected.end());
    if (focused)
        after.focused = PositionOf(*focused);
    return after;
}

bool RowOrder::Before(std::uint32_t a, std::uint32_t b) const
{
    const int order = compare_(CellOf(rows_[a], sortKey_), CellOf(rows_[b], sortKey_));
    return sortOrder_ == 0 ? order < 0 : order > 0;
}

void RowOrder::SortWaitingRows()
{
    auto before = [this](std::uint32_t a, std::uint32_t b) { return Before(a, b); };
    if (fullSortNeeded_) {
        std::stable_sort(order_.begin(), order_.end(), before);
    } else {
        const auto middle = order_.begin() + static_cast<std::ptrdiff_t>(arranged_);
        std::stable_sort(middle, order_.end(), before);
        std::inplace_merge(order_.begin(), middle, order_.end(), before);
    }
    positionsStale_ = true;
}

RowOrder::RowId RowOrder::IdAt(std::size_t position) const
{
    if (position >= order_.size())
        throw Error(kErrInvalidIndex, L"Index out of bounds.");
    return firstId_ + order_[position];
}

std::size_t RowOrder::PositionOf(RowId id) const
{
    const std::size_t index = IndexOf(id);
    if (positionsStale_) {
        positionOf_.assign(order_.size(), 0);
        for (std::size_t position = 0; position < order_.size(); ++position)
            positionOf_[order_[position]] = static_cast<std::uint32_t>(position);
        positionsStale_ = false;
    }
    return positionOf_[index];
}

const std::wstring& RowOrder::CellAt(std::size_t position, int column) const
{
    if (position >= order_.size())
        return empty_;
    return CellOf(rows_[order_[position]], column);
}

}  // namespace dovrel
