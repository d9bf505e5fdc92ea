// Fuzz target: the owner-data list's row order under any sequence of adds,
// clears, cell changes, sort changes and arrangements, with a selection
// carried through each arrangement as the list view does it.
//
// The input is a list of operations, one byte each, then its arguments:
//   0 add a row (text byte)          1 clear
//   2 sorted on/off (byte)           3 sort key 0..2 (byte)
//   4 sort order (byte)              5 set a cell: row, column, text (3 bytes)
//   6 arrange, selecting up to 3 positions of those shown (count, bytes)
// A text byte picks a text of up to three letters from "aAbB", so that
// texts compare equal without being the same.
//
// After every arrangement: the positions hold every row once; while sorted,
// the order is exactly a stable sort of the order before (so rows that wait
// are merged in after equal rows, and equal rows keep their order); and the
// selection names the same rows as before.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/RowOrder.h"

namespace {

using dovrel::RowOrder;

// Case-insensitive and by code unit: enough to have equal, different texts.
int CompareFolded(const std::wstring& a, const std::wstring& b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = std::towlower(a[i]);
        const auto y = std::towlower(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::wstring TextOf(std::uint8_t byte)
{
    static const wchar_t kLetters[] = L"aAbB";
    std::wstring text;
    for (int i = 0; i < byte % 4; ++i)
        text += kLetters[(byte >> (2 + 2 * i)) & 3];
    return text;
}

[[noreturn]] void Fault()
{
    std::abort();
}

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Done() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::vector<RowOrder::RowId> Order(const RowOrder& rows)
{
    std::vector<RowOrder::RowId> order;
    for (std::size_t position = 0; position < rows.Count(); ++position)
        order.push_back(rows.IdAt(position));
    return order;
}

void ArrangeAndCheck(RowOrder& rows, Input& input, std::size_t& shown)
{
    RowOrder::Selection before;
    for (int i = input.Byte() % 4; i > 0; --i)
        before.selected.push_back(input.Byte() % (shown + 2));  // now and then one not shown
    if (input.Byte() & 1)
        before.focused = input.Byte() % (shown + 2);

    const std::vector<RowOrder::RowId> previous = Order(rows);
    std::vector<RowOrder::RowId> expected = previous;
    if (rows.Sorted()) {
        std::stable_sort(expected.begin(), expected.end(), [&](RowOrder::RowId a, RowOrder::RowId b) {
            const int order = CompareFolded(rows.Cell(a, rows.SortKey()), rows.Cell(b, rows.SortKey()));
            return rows.SortOrder() == 0 ? order < 0 : order > 0;
        });
    }

    const std::size_t valid = std::min(shown, previous.size());
    const RowOrder::Selection after = rows.Arrange(before, shown);
    shown = rows.Count();

    if (rows.NeedsArranging() || Order(rows) != expected)
        Fault();
    for (std::size_t position = 0; position < rows.Count(); ++position)
        if (rows.PositionOf(rows.IdAt(position)) != position)
            Fault();

    std::vector<RowOrder::RowId> selectedBefore;
    for (std::size_t position : before.selected)
        if (position < valid)
            selectedBefore.push_back(previous[position]);
    std::vector<RowOrder::RowId> selectedAfter;
    for (std::size_t position : after.selected) {
        if (position >= rows.Count())
            Fault();
        selectedAfter.push_back(rows.IdAt(position));
    }
    std::sort(selectedBefore.begin(), selectedBefore.end());
    selectedBefore.erase(std::unique(selectedBefore.begin(), selectedBefore.end()), selectedBefore.end());
    std::sort(selectedAfter.begin(), selectedAfter.end());
    if (selectedBefore != selectedAfter || !std::is_sorted(after.selected.begin(), after.selected.end()))
        Fault();
    const bool focusedShown = before.focused && *before.focused < valid;
    if (focusedShown != after.focused.has_value() ||
        (focusedShown && rows.IdAt(*after.focused) != previous[*before.focused]))
        Fault();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input input(data, size);
    RowOrder rows(CompareFolded);
    std::vector<RowOrder::RowId> cleared;  // ids from before the last clear
    std::size_t shown = 0;                 // rows as of the last arrangement
    while (!input.Done()) {
        switch (input.Byte() % 7) {
        case 0:
            if (rows.Count() < 512)
                rows.Add(TextOf(input.Byte()));
            break;
        case 1:
            cleared = Order(rows);
            rows.Clear();
            shown = 0;
            break;
        case 2:
            rows.SetSorted(input.Byte() & 1);
            break;
        case 3:
            rows.SetSortKey(input.Byte() % 3);
            break;
        case 4:
            rows.SetSortOrder(input.Byte() & 1);
            break;
        case 5: {
            const std::uint8_t which = input.Byte();
            const int column = input.Byte() % 3;
            const std::wstring text = TextOf(input.Byte());
            if (rows.Count() > 0)
                rows.SetCell(rows.IdAt(which % rows.Count()), column, text);
            for (RowOrder::RowId gone : cleared) {
                if (rows.Contains(gone))
                    Fault();
                try {
                    rows.SetCell(gone, column, text);
                    Fault();
                } catch (const dovrel::Error&) {
                }
                break;
            }
            break;
        }
        default:
            ArrangeAndCheck(rows, input, shown);
            break;
        }
    }
    return 0;
}
