#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "listview/modListViewSupport.h"
#include "platform/Error.h"
#include "platform/win32/controls/Win32ListView.h"
#include "platform/win32/form/Window.h"
#include "tests/win32/TestWindow.h"

namespace dovrel::test {
namespace {

using namespace modListViewSupport;
using ::testing::ElementsAre;
using win32::Win32ListView;

class Win32ListViewTest : public ::testing::Test {
protected:
    Win32ListViewTest() : list(window.Handle(), 100, RECT{8, 8, 600, 360})
    {
        list.SetView(ListViewView::Report);
        for (const wchar_t* title : {L"Name", L"Monitor", L"Description", L"Type"})
            list.ColumnHeaders().Add(title);
    }

    HWND Hwnd() const { return win32::ToHwnd(list.hWnd()); }

    void AddRows(const std::vector<std::wstring>& names)
    {
        for (const auto& name : names)
            list.ListItems().Add(name);
    }

    // The rows as the control itself shows them, column by column.
    std::vector<std::wstring> Shown(int column = 0) const
    {
        std::vector<std::wstring> texts;
        const int count = static_cast<int>(SendMessageW(Hwnd(), LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            texts.push_back(ListCellText(Hwnd(), i, column));
        return texts;
    }

    int SelectedCount() const { return static_cast<int>(SendMessageW(Hwnd(), LVM_GETSELECTEDCOUNT, 0, 0)); }

    DWORD ExtendedStyle() const
    {
        return static_cast<DWORD>(SendMessageW(Hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    }

    TestWindow window;
    Win32ListView list;
};

TEST_F(Win32ListViewTest, SortsByTextCaseInsensitivelyInBothOrders)
{
    AddRows({L"lpt1:", L"COM2:", L"FILE:", L"com1:"});
    ListViewSortByColumn(list, 1);
    EXPECT_THAT(Shown(), ElementsAre(L"com1:", L"COM2:", L"FILE:", L"lpt1:"));

    list.SetSortOrder(1);
    EXPECT_THAT(Shown(), ElementsAre(L"lpt1:", L"FILE:", L"COM2:", L"com1:"));
}

TEST_F(Win32ListViewTest, SortsBySubItemAndItemsFollowTheirRows)
{
    auto b = list.ListItems().Add(L"b");
    auto a = list.ListItems().Add(L"a");
    auto c = list.ListItems().Add(L"c");
    b->SetSubItem(1, L"Zulu");
    a->SetSubItem(1, L"Mike");
    c->SetSubItem(1, L"alpha");

    list.SetSortKey(1);
    list.SetSortOrder(0);
    list.SetSorted(true);

    EXPECT_THAT(Shown(0), ElementsAre(L"c", L"a", L"b"));
    EXPECT_THAT(Shown(1), ElementsAre(L"alpha", L"Mike", L"Zulu"));
    EXPECT_EQ(b->Text(), L"b");
    EXPECT_EQ(b->SubItem(1), L"Zulu");
    EXPECT_EQ(list.ListItems().Item(1)->Text(), L"c");
}

TEST_F(Win32ListViewTest, RowsAddedWhileSortedTakeTheirPlace)
{
    ListViewSortByColumn(list, 1);
    AddRows({L"LPT2:", L"COM1:"});
    EXPECT_THAT(Shown(), ElementsAre(L"COM1:", L"LPT2:"));

    auto added = list.ListItems().Add(L"FILE:");
    added->SetSubItem(1, L"Local Monitor");
    added->SetSubItem(3, L"Write");
    AddRows({L"com3:", L"Nul:"});

    EXPECT_EQ(list.ListItems().Count(), 5);
    EXPECT_THAT(Shown(), ElementsAre(L"COM1:", L"com3:", L"FILE:", L"LPT2:", L"Nul:"));
    EXPECT_EQ(ListCellText(Hwnd(), 2, 1), L"Local Monitor");
    EXPECT_EQ(ListCellText(Hwnd(), 2, 3), L"Write");
}

TEST_F(Win32ListViewTest, ComparisonIsLocaleAwareNotByCodeUnit)
{
    ListViewSortByColumn(list, 1);
    AddRows({L"Zeta", L"\u00C4rger", L"apple", L"_under"});
    const auto shown = Shown();
    // "Ärger" belongs among the A's, not after "Zeta" as its code unit would put it.
    auto position = [&](const std::wstring& text) { return std::find(shown.begin(), shown.end(), text) - shown.begin(); };
    EXPECT_LT(position(L"\u00C4rger"), position(L"Zeta"));
    EXPECT_LT(position(L"apple"), position(L"Zeta"));
}

TEST_F(Win32ListViewTest, UnsortedListKeepsInsertionOrder)
{
    AddRows({L"b", L"a"});
    list.SetSorted(false);
    AddRows({L"0"});
    EXPECT_THAT(Shown(), ElementsAre(L"b", L"a", L"0"));
}

TEST_F(Win32ListViewTest, SingleSelectKeepsOneRowSelected)
{
    AddRows({L"a", L"b", L"c", L"d"});
    list.ListItems().Item(3)->SetSelected(true);
    ListViewSelectItem(list, 1);

    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_TRUE(list.ListItems().Item(1)->Selected());
    EXPECT_FALSE(list.ListItems().Item(3)->Selected());
    ASSERT_NE(list.SelectedItem(), nullptr);
    EXPECT_EQ(list.SelectedItem()->Text(), L"a");
}

TEST_F(Win32ListViewTest, MultiSelectPassLeavesOnlyTheChosenRow)
{
    list.SetMultiSelect(true);
    EXPECT_TRUE(list.MultiSelect());
    AddRows({L"a", L"b", L"c", L"d", L"e"});
    list.ListItems().Item(1)->SetSelected(true);
    list.ListItems().Item(4)->SetSelected(true);
    EXPECT_EQ(SelectedCount(), 2);

    ListViewSelectItem(list, 2);
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_TRUE(list.ListItems().Item(2)->Selected());

    ListViewSelectItem(list, 9);
    EXPECT_EQ(SelectedCount(), 0);
    EXPECT_EQ(list.SelectedItem(), nullptr);
}

TEST_F(Win32ListViewTest, SelectionFollowsItsRowWhenTheListIsResorted)
{
    AddRows({L"b", L"c", L"a"});
    list.ListItems().Item(1)->SetSelected(true);  // "b"
    ListViewColumnClickSort(list, *list.ColumnHeaders().Item(1));

    EXPECT_THAT(Shown(), ElementsAre(L"a", L"b", L"c"));
    ASSERT_NE(list.SelectedItem(), nullptr);
    EXPECT_EQ(list.SelectedItem()->Text(), L"b");
    EXPECT_EQ(SelectedCount(), 1);

    // Rows merged in before it move the selected row beyond the count the
    // control had: it gets the new count before the selection moves there.
    AddRows({L"0", L"00"});
    ASSERT_NE(list.SelectedItem(), nullptr);
    EXPECT_EQ(list.SelectedItem()->Text(), L"b");
    EXPECT_THAT(Shown(), ElementsAre(L"0", L"00", L"a", L"b", L"c"));
    EXPECT_TRUE(list.ListItems().Item(4)->Selected());
}

TEST_F(Win32ListViewTest, AnEmptyListFitsItsColumnsToTheirHeadersAtItsFirstPaint)
{
    const auto width = [&](int column) { return static_cast<int>(SendMessageW(Hwnd(), LVM_GETCOLUMNWIDTH, column, 0)); };
    // Adding the columns measured nothing, and they show no scroll bar.
    EXPECT_EQ(width(0) + width(1) + width(2) + width(3), 0);

    SendMessageW(Hwnd(), WM_PAINT, 0, 0);
    RECT client{};
    GetClientRect(Hwnd(), &client);
    EXPECT_LT(width(0), width(2));  // "Name" against "Description"
    // The last column takes the rest, so the empty list shows no scroll bar.
    EXPECT_EQ(width(0) + width(1) + width(2) + width(3), client.right);
}

TEST_F(Win32ListViewTest, AutoSizeReallyChangesTheColumnWidths)
{
    AddRows({L"a"});
    auto item = list.ListItems().Item(1);
    item->SetSubItem(1, L"A monitor name that is much wider than the default column");
    SendMessageW(Hwnd(), LVM_SETCOLUMNWIDTH, 1, 10);
    SendMessageW(Hwnd(), LVM_SETCOLUMNWIDTH, 0, 300);
    ASSERT_EQ(SendMessageW(Hwnd(), LVM_GETCOLUMNWIDTH, 1, 0), 10);

    ListViewAutoSizeColumns(list, kTrue);

    const auto monitorWidth = SendMessageW(Hwnd(), LVM_GETCOLUMNWIDTH, 1, 0);
    const auto textWidth = SendMessageW(Hwnd(), LVM_GETSTRINGWIDTHW, 0,
                                        reinterpret_cast<LPARAM>(L"A monitor name that is much wider than the default column"));
    EXPECT_GE(monitorWidth, textWidth);
    // The name column shrinks to what its header and the one-letter row need.
    EXPECT_LT(SendMessageW(Hwnd(), LVM_GETCOLUMNWIDTH, 0, 0), 300);

    // A text wider than a width can say: the widest width, not a negative one.
    item->SetSubItem(1, std::wstring(6000, L'W'));
    ListViewAutoSizeColumns(list, kTrue);
    EXPECT_EQ(SendMessageW(Hwnd(), LVM_GETCOLUMNWIDTH, 1, 0), SHRT_MAX);
}

TEST_F(Win32ListViewTest, ExtendedStyleBitsAreSetAndClearedOneByOne)
{
    SendMessageW(Hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0xFFFFFFFF, 0);
    ListViewFullRowSelect(list, kTrue);
    ListViewGridLines(list, kTrue);
    ListViewLabelTip(list, kTrue);
    EXPECT_EQ(ExtendedStyle() & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP),
              DWORD{LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP});

    ListViewGridLines(list, kFalse);
    EXPECT_EQ(ExtendedStyle() & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP),
              DWORD{LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP});
    ListViewFullRowSelect(list, kFalse);
    EXPECT_EQ(ExtendedStyle() & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP), DWORD{LVS_EX_LABELTIP});
    ListViewLabelTip(list, kFalse);
    EXPECT_EQ(ExtendedStyle() & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP), DWORD{0});
}

TEST_F(Win32ListViewTest, PropertiesReachTheWindowStyles)
{
    list.SetHideSelection(false);
    list.SetLabelEdit(ListLabelEdit::Manual);
    list.SetBorderStyle(ListBorderStyle::None);
    list.SetMultiSelect(false);
    const LONG_PTR style = GetWindowLongPtrW(Hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_FALSE(style & LVS_EDITLABELS);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_FALSE(GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(list.hWnd(), reinterpret_cast<WindowHandle>(Hwnd()));
}

TEST_F(Win32ListViewTest, PositionsOutsideTheListAndClearedItemsRaise)
{
    AddRows({L"a", L"b"});
    auto kept = list.ListItems().Item(2);
    EXPECT_THROW(list.ListItems().Item(0), Error);
    EXPECT_THROW(list.ListItems().Item(3), Error);
    EXPECT_THROW(kept->SetSubItem(4, L"beyond the last column"), Error);

    list.ListItems().Clear();
    EXPECT_EQ(list.ListItems().Count(), 0);
    EXPECT_EQ(SendMessageW(Hwnd(), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_THROW(kept->Text(), Error);
    EXPECT_EQ(list.SelectedItem(), nullptr);
}

TEST_F(Win32ListViewTest, HeaderClickReachesTheColumnClickEvent)
{
    std::vector<int> clicked;
    list.onColumnClick = [&](ColumnHeader& header) { clicked.push_back(header.Index()); };
    SendMessageW(Hwnd(), WM_PAINT, 0, 0);  // the empty list's columns get their widths
    HWND header = reinterpret_cast<HWND>(SendMessageW(Hwnd(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    RECT third = {};
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third)));
    const LPARAM point = MAKELPARAM((third.left + third.right) / 2, (third.top + third.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(header, WM_LBUTTONUP, 0, point);
    PumpMessages();
    EXPECT_THAT(clicked, ElementsAre(3));
}

LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR paints)
{
    if (message == WM_PAINT)
        ++*reinterpret_cast<int*>(paints);
    return DefSubclassProc(window, message, wParam, lParam);
}

// A refresh (rows, sort, column widths, selection) is drawn once, after its
// handler returns; from then on the control draws its own changes again.
TEST_F(Win32ListViewTest, ABatchIsDrawnOnceWhenItsHandlerReturns)
{
    PumpMessages();
    int paints = 0;
    ASSERT_TRUE(SetWindowSubclass(Hwnd(), CountPaints, 1, reinterpret_cast<DWORD_PTR>(&paints)));
    ListViewSortByColumn(list, 1);
    for (int i = 0; i < 300; ++i) {
        auto item = list.ListItems().Add(L"PORT" + std::to_wstring(299 - i));
        for (int subItem = 1; subItem <= 3; ++subItem)
            item->SetSubItem(subItem, L"text " + std::to_wstring(subItem));
    }
    ListViewAutoSizeColumns(list, kTrue);
    ListViewSelectItem(list, 1);
    EXPECT_EQ(paints, 0);
    PumpMessages();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(ListCellText(Hwnd(), 0, 0), L"PORT0");

    SendMessageW(Hwnd(), LVM_REDRAWITEMS, 0, 0);
    PumpMessages();
    EXPECT_EQ(paints, 2);
    RemoveWindowSubclass(Hwnd(), CountPaints, 1);
}

TEST_F(Win32ListViewTest, ManyRowsStaySortedAndCounted)
{
    ListViewSortByColumn(list, 1);
    for (int i = 2999; i >= 0; --i) {
        auto item = list.ListItems().Add(L"PORT" + std::to_wstring(i * 7919 % 3000));
        item->SetSubItem(1, L"Local Monitor");
    }
    EXPECT_EQ(SendMessageW(Hwnd(), LVM_GETITEMCOUNT, 0, 0), 3000);
    const auto shown = Shown();
    for (size_t i = 1; i < shown.size(); ++i)
        ASSERT_LE(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, shown[i - 1].c_str(), -1, shown[i].c_str(), -1),
                  CSTR_EQUAL)
            << "rows " << i - 1 << " and " << i;
}

}  // namespace
}  // namespace dovrel::test
