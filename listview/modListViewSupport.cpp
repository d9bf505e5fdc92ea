#include "listview/modListViewSupport.h"

#include <limits>

#include "platform/Error.h"

namespace dovrel::modListViewSupport {

namespace {

// SortKey holds a 16-bit column number; a column beyond its range is an
// overflow, raised rather than wrapped onto another column.
std::int16_t ToSortKey(std::int64_t zeroBasedColumn)
{
    if (zeroBasedColumn < std::numeric_limits<std::int16_t>::min() ||
        zeroBasedColumn > std::numeric_limits<std::int16_t>::max())
        throw Error(kErrOverflow, L"Overflow");
    return static_cast<std::int16_t>(zeroBasedColumn);
}

void SortAscendingOn(ListViewControl& listView, std::int16_t key)
{
    listView.SetSortKey(key);
    listView.SetSortOrder(0);
    listView.SetSorted(true);
}

}  // namespace

void ListViewColumnClickSort(ListViewControl& listView, ColumnHeader& header)
{
    const std::int16_t currentKey = listView.SortKey();
    const std::int16_t clickedKey = ToSortKey(std::int64_t{header.Index()} - 1);
    const bool sorted = listView.Sorted();

    if (currentKey == clickedKey && sorted) {
        listView.SetSortOrder(listView.SortOrder() == 0 ? 1 : 0);
        return;
    }
    SortAscendingOn(listView, clickedKey);
}

void ListViewSortByColumn(ListViewControl& listView, std::int32_t column)
{
    const std::int32_t count = listView.ColumnHeaders().Count();
    if (column > count || column < 1)
        return;
    SortAscendingOn(listView, ToSortKey(std::int64_t{column} - 1));
}

void ListViewSelectItem(ListViewControl& listView, std::int32_t item)
{
    if (listView.ListItems().Count() <= 0)
        return;

    // In multi-select mode every other row is cleared first, even when the
    // number turns out to be out of range below.
    if (listView.MultiSelect()) {
        const std::int32_t bound = listView.ListItems().Count();
        for (std::int32_t i = 1; i <= bound; ++i)
            listView.ListItems().Item(i)->SetSelected(i == item);
    }

    const std::int32_t count = listView.ListItems().Count();
    if (item > count || item < 1)
        return;

    // A single-select control clears the previous selection itself.
    if (!listView.MultiSelect())
        listView.ListItems().Item(item)->SetSelected(true);

    listView.ListItems().Item(item)->EnsureVisible();  // result ignored: nothing to do if it fails
}

void ListViewAutoSizeColumn(ListViewControl& listView, std::int32_t column, Truth useHeader)
{
    const std::int32_t count = listView.ColumnHeaders().Count();
    if (column > count || column < 1)
        return;
    listView.AutoSizeColumn(column, IsTrue(useHeader));
}

void ListViewAutoSizeColumns(ListViewControl& listView, Truth useHeader)
{
    const std::int32_t count = listView.ColumnHeaders().Count();
    for (std::int32_t column = 1; column <= count; ++column)
        ListViewAutoSizeColumn(listView, column, useHeader);
}

void ListViewSetExtendedStyle(ListViewControl& listView, std::uint32_t style, Truth enable)
{
    listView.SetExtendedStyle(style, IsTrue(enable) ? style : 0);
}

void ListViewFullRowSelect(ListViewControl& listView, Truth enable)
{
    ListViewSetExtendedStyle(listView, kLvsExFullRowSelect, enable);
}

void ListViewGridLines(ListViewControl& listView, Truth enable)
{
    ListViewSetExtendedStyle(listView, kLvsExGridLines, enable);
}

void ListViewLabelTip(ListViewControl& listView, Truth enable)
{
    ListViewSetExtendedStyle(listView, kLvsExLabelTip, enable);
}

std::vector<std::wstring> ListViewHeaderTexts(ListViewControl& listView)
{
    std::vector<std::wstring> texts;
    const std::int32_t count = listView.ColumnHeaders().Count();
    for (std::int32_t column = 1; column <= count; ++column)
        texts.push_back(listView.ColumnHeaders().Item(column)->Text());
    return texts;
}

std::vector<std::wstring> ListViewItemTexts(ListViewControl& listView, ListItem& item)
{
    std::vector<std::wstring> texts{item.Text()};
    const std::int32_t count = listView.ColumnHeaders().Count();
    for (std::int32_t subItem = 1; subItem < count; ++subItem)
        texts.push_back(item.SubItem(subItem));
    return texts;
}

std::int32_t ListViewFindItem(ListViewControl& listView, const std::wstring& text)
{
    const std::int32_t count = listView.ListItems().Count();
    for (std::int32_t item = 1; item <= count; ++item)
        if (listView.ListItems().Item(item)->Text() == text)
            return item;
    return 0;
}

}  // namespace dovrel::modListViewSupport
