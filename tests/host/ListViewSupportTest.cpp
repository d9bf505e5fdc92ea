#include <cstdint>
#include <limits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "listview/modListViewSupport.h"
#include "platform/Error.h"
#include "tests/host/RecordingListView.h"

namespace dovrel::test {
namespace {

using namespace modListViewSupport;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ListViewSupportTest : public ::testing::Test {
protected:
    ListViewSupportTest() { list.faults = &faults; }

    FaultPlan faults;
    RecordingListView list;
};

// --- sorting by a clicked column ---

TEST_F(ListViewSupportTest, ClickOnAnotherColumnSortsAscendingThenEachClickReverses)
{
    list.AddColumnsQuietly(4);
    list.SetStateQuietly(true, 0, 0);
    const auto second = list.HeaderAt(2);

    ListViewColumnClickSort(list, *second);
    EXPECT_THAT(list.log, ElementsAre("SortKey -> 0", "Sorted -> True", "SortKey = 1", "SortOrder = 0", "Sorted = True"));

    list.log.clear();
    ListViewColumnClickSort(list, *second);
    EXPECT_THAT(list.log, ElementsAre("SortKey -> 1", "Sorted -> True", "SortOrder -> 0", "SortOrder = 1"));

    list.log.clear();
    ListViewColumnClickSort(list, *second);
    EXPECT_THAT(list.log, ElementsAre("SortKey -> 1", "Sorted -> True", "SortOrder -> 1", "SortOrder = 0"));
}

TEST_F(ListViewSupportTest, ClickOnAnUnsortedListSortsAscendingEvenOnTheCurrentKey)
{
    list.SetStateQuietly(false, 0, 1);
    const auto first = list.HeaderAt(1);

    ListViewColumnClickSort(list, *first);

    EXPECT_THAT(list.log, ElementsAre("SortKey -> 0", "Sorted -> False", "SortKey = 0", "SortOrder = 0", "Sorted = True"));
}

TEST_F(ListViewSupportTest, ReverseTurnsAnyOrderOtherThanAscendingIntoAscending)
{
    list.SetStateQuietly(true, 0, 7);
    const auto first = list.HeaderAt(1);

    ListViewColumnClickSort(list, *first);

    EXPECT_EQ(list.SortOrder(), 0);
}

TEST_F(ListViewSupportTest, HeaderIndexIsNotCheckedAgainstTheColumnsButMustFitTheSortKey)
{
    list.AddColumnsQuietly(2);
    ListViewColumnClickSort(list, *list.HeaderAt(32768));
    EXPECT_EQ(list.SortKey(), 32767);

    ListViewColumnClickSort(list, *list.HeaderAt(0));
    EXPECT_EQ(list.SortKey(), -1);

    for (std::int32_t index : {32769, std::numeric_limits<std::int32_t>::max(), -32768,
                               std::numeric_limits<std::int32_t>::min()}) {
        list.log.clear();
        try {
            ListViewColumnClickSort(list, *list.HeaderAt(index));
            ADD_FAILURE() << "no overflow for header index " << index;
        } catch (const Error& error) {
            EXPECT_EQ(error.Number(), kErrOverflow);
        }
        EXPECT_THAT(list.log, ElementsAre("SortKey -> -1")) << "nothing may be written for index " << index;
    }
}

TEST_F(ListViewSupportTest, SortByColumnWritesKeyOrderAndSortedInThatOrder)
{
    list.AddColumnsQuietly(4);
    list.SetStateQuietly(true, 0, 1);

    ListViewSortByColumn(list, 1);

    EXPECT_THAT(list.log, ElementsAre("ColumnHeaders.Count -> 4", "SortKey = 0", "SortOrder = 0", "Sorted = True"));
}

TEST_F(ListViewSupportTest, SortByColumnOutOfRangeWritesNothing)
{
    list.AddColumnsQuietly(4);
    for (std::int32_t column : {0, -1, 5, std::numeric_limits<std::int32_t>::min()}) {
        list.log.clear();
        ListViewSortByColumn(list, column);
        EXPECT_THAT(list.log, ElementsAre("ColumnHeaders.Count -> 4")) << "column " << column;
    }
    ListViewSortByColumn(list, 4);
    EXPECT_EQ(list.SortKey(), 3);
}

TEST_F(ListViewSupportTest, SortingReallyReordersTheFakesRows)
{
    list.AddColumnsQuietly(1);
    list.AddRowsQuietly({L"lpt1:", L"COM2:", L"com1:"});
    ListViewSortByColumn(list, 1);
    EXPECT_THAT(list.Texts(), ElementsAre(L"com1:", L"COM2:", L"lpt1:"));
}

// --- selecting an item ---

TEST_F(ListViewSupportTest, SelectOnAnEmptyListReadsOnlyTheCount)
{
    list.multiSelect = true;
    ListViewSelectItem(list, 1);
    EXPECT_THAT(list.log, ElementsAre("ListItems.Count -> 0"));
}

TEST_F(ListViewSupportTest, SingleSelectLeavesTheControlToClearTheOldSelection)
{
    list.AddRowsQuietly({L"a", L"b", L"c", L"d"});
    list.SelectQuietly(3, true);

    ListViewSelectItem(list, 1);

    EXPECT_THAT(list.log, ElementsAre("ListItems.Count -> 4", "MultiSelect -> False", "ListItems.Count -> 4",
                                      "MultiSelect -> False", "ListItems.Item(1)", "Item(1).Selected = True",
                                      "ListItems.Item(1)", "Item(1).EnsureVisible"));
    EXPECT_THAT(list.SelectedPositions(), ElementsAre(1));
    EXPECT_THAT(list.ensuredVisible, ElementsAre(1));
}

TEST_F(ListViewSupportTest, SingleSelectOutOfRangeChangesNothing)
{
    list.AddRowsQuietly({L"a", L"b", L"c"});
    list.SelectQuietly(2, true);
    for (std::int32_t item : {0, -3, 4}) {
        list.log.clear();
        ListViewSelectItem(list, item);
        EXPECT_THAT(list.log, ElementsAre("ListItems.Count -> 3", "MultiSelect -> False", "ListItems.Count -> 3"));
    }
    EXPECT_THAT(list.SelectedPositions(), ElementsAre(2));
    EXPECT_THAT(list.ensuredVisible, IsEmpty());
}

TEST_F(ListViewSupportTest, MultiSelectPassSelectsOnlyTheGivenItemInAscendingOrder)
{
    list.multiSelect = true;
    list.AddRowsQuietly({L"a", L"b", L"c", L"d", L"e"});
    list.SelectQuietly(1, true);
    list.SelectQuietly(4, true);

    ListViewSelectItem(list, 2);

    EXPECT_THAT(list.log,
                ElementsAre("ListItems.Count -> 5", "MultiSelect -> True", "ListItems.Count -> 5",
                            "ListItems.Item(1)", "Item(1).Selected = False", "ListItems.Item(2)",
                            "Item(2).Selected = True", "ListItems.Item(3)", "Item(3).Selected = False",
                            "ListItems.Item(4)", "Item(4).Selected = False", "ListItems.Item(5)",
                            "Item(5).Selected = False", "ListItems.Count -> 5", "MultiSelect -> True",
                            "ListItems.Item(2)", "Item(2).EnsureVisible"));
    EXPECT_THAT(list.SelectedPositions(), ElementsAre(2));
}

TEST_F(ListViewSupportTest, MultiSelectOutOfRangeClearsEverythingAndScrollsNothing)
{
    list.multiSelect = true;
    list.AddRowsQuietly({L"a", L"b", L"c"});
    list.SelectQuietly(1, true);
    list.SelectQuietly(3, true);

    ListViewSelectItem(list, 9);

    EXPECT_THAT(list.SelectedPositions(), IsEmpty());
    EXPECT_THAT(list.ensuredVisible, IsEmpty());
}

// --- column widths and extended styles ---

TEST_F(ListViewSupportTest, AutoSizeColumnsSizesEveryColumnInOrder)
{
    list.AddColumnsQuietly(4);

    ListViewAutoSizeColumns(list, kTrue);

    // The count is read once for the loop and once per column.
    EXPECT_THAT(list.log, ElementsAre("ColumnHeaders.Count -> 4", "ColumnHeaders.Count -> 4", "AutoSizeColumn 1 header",
                                      "ColumnHeaders.Count -> 4", "AutoSizeColumn 2 header",
                                      "ColumnHeaders.Count -> 4", "AutoSizeColumn 3 header",
                                      "ColumnHeaders.Count -> 4", "AutoSizeColumn 4 header"));
}

TEST_F(ListViewSupportTest, AutoSizeUseHeaderTreatsAnyNonZeroAsTrue)
{
    list.AddColumnsQuietly(2);
    ListViewAutoSizeColumns(list, kFalse);
    ListViewAutoSizeColumn(list, 2, 1);
    ASSERT_EQ(list.autoSized.size(), 3u);
    EXPECT_FALSE(list.autoSized[0].useHeader);
    EXPECT_FALSE(list.autoSized[1].useHeader);
    EXPECT_EQ(list.autoSized[2].column, 2);
    EXPECT_TRUE(list.autoSized[2].useHeader);
}

TEST_F(ListViewSupportTest, AutoSizeOfAMissingColumnSendsNothing)
{
    list.AddColumnsQuietly(4);
    ListViewAutoSizeColumn(list, 5, kTrue);
    ListViewAutoSizeColumn(list, 0, kTrue);
    EXPECT_THAT(list.autoSized, IsEmpty());

    RecordingListView noColumns;
    ListViewAutoSizeColumns(noColumns, kTrue);
    EXPECT_THAT(noColumns.log, ElementsAre("ColumnHeaders.Count -> 0"));
}

TEST_F(ListViewSupportTest, ExtendedStyleProceduresChangeOnlyTheirOwnBit)
{
    ListViewFullRowSelect(list, kFalse);
    ListViewGridLines(list, kTrue);
    ListViewLabelTip(list, -1);
    ListViewSetExtendedStyle(list, 0x80000021u, 5);

    EXPECT_THAT(list.log, ElementsAre("SetExtendedStyle 32 0", "SetExtendedStyle 1 1", "SetExtendedStyle 16384 16384",
                                      "SetExtendedStyle 2147483681 2147483681"));
}

TEST_F(ListViewSupportTest, ControlErrorsPassToTheCaller)
{
    list.AddRowsQuietly({L"a"});
    faults.failOn = "lvPorts.ListItems.Item";
    EXPECT_THROW(ListViewSelectItem(list, 1), Error);

    faults.failOn = "lvPorts.AutoSizeColumn";
    list.AddColumnsQuietly(1);
    EXPECT_THROW(ListViewAutoSizeColumns(list, kTrue), Error);
}

}  // namespace
}  // namespace dovrel::test
