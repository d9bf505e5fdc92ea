#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/RowOrder.h"
#include "tests/host/RecordingListView.h"

namespace dovrel::test {
namespace {

using ::testing::ElementsAre;

std::vector<std::wstring> Shown(const RowOrder& rows, int column = 0)
{
    std::vector<std::wstring> texts;
    for (std::size_t position = 0; position < rows.Count(); ++position)
        texts.push_back(rows.CellAt(position, column));
    return texts;
}

TEST(RowOrderTest, RowsAddedWhileSortedMergeInAfterEqualRowsAndTheSelectionFollowsItsRow)
{
    RowOrder rows(CompareIgnoringCase);
    for (const wchar_t* text : {L"b", L"A", L"c"})
        rows.Add(text);
    rows.SetSorted(true);
    RowOrder::Selection none;
    rows.Arrange(none, 0);
    ASSERT_THAT(Shown(rows), ElementsAre(L"A", L"b", L"c"));

    rows.Add(L"B");
    rows.Add(L"a");
    EXPECT_TRUE(rows.NeedsArranging());
    // "c" at position 2 is selected and focused as the list shows three rows.
    const RowOrder::Selection after = rows.Arrange({{2}, 2}, 3);
    EXPECT_THAT(Shown(rows), ElementsAre(L"A", L"a", L"b", L"B", L"c"));
    EXPECT_THAT(after.selected, ElementsAre(4u));
    EXPECT_EQ(after.focused, 4u);

    // A position the list never showed names no row, and is dropped.
    EXPECT_THAT(rows.Arrange({{0, 7}, 7}, 5).selected, ElementsAre(0u));
}

TEST(RowOrderTest, ACellOfTheSortColumnMovesItsRowAndClearedRowsAreGone)
{
    RowOrder rows(CompareIgnoringCase);
    const RowOrder::RowId first = rows.Add(L"x");
    rows.SetCell(first, 2, L"2");
    rows.SetCell(rows.Add(L"y"), 2, L"1");
    rows.SetSortKey(2);
    rows.SetSortOrder(1);
    rows.SetSorted(true);
    rows.Arrange({}, 0);
    EXPECT_THAT(Shown(rows), ElementsAre(L"x", L"y"));

    rows.SetCell(first, 2, L"0");
    EXPECT_TRUE(rows.NeedsArranging());
    rows.Arrange({}, 2);
    EXPECT_THAT(Shown(rows), ElementsAre(L"y", L"x"));
    EXPECT_EQ(rows.Cell(first, 1), L"");

    rows.Clear();
    rows.Add(L"z");
    EXPECT_FALSE(rows.Contains(first));
    EXPECT_THROW(rows.Cell(first, 0), Error);
}

}  // namespace
}  // namespace dovrel::test
