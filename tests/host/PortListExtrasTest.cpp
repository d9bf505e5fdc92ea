// The list as Windows' own tools have it: keys, the context menu, copy,
// saving the list and following the spooler's changes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "app/modMain.h"
#include "listview/TableText.h"
#include "tests/host/Fakes.h"

namespace dovrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(TableTextTest, FieldsAreQuotedWhereCsvNeedsItAndTabsNeverSplitATsvLine)
{
    EXPECT_EQ(TableText::CsvRecord({L"a,b", L"say \"hi\"", L"two\r\nlines", L"plain", L""}),
              L"\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",plain,\r\n");
    EXPECT_EQ(TableText::TsvRecord({L"a\tb", L"c\r\nd", L"e,\"f\""}), L"a b\tc  d\te,\"f\"\r\n");
}

TEST(TableTextTest, AFieldASpreadsheetWouldRunAsAFormulaIsWrittenAsText)
{
    const TableText::Fields fields = {L"=cmd|' /C calc'!A0", L"+1", L"-1", L"@SUM(A1)", L"\t=1", L"\r=1", L"\"q\"\tx", L"a-1"};
    EXPECT_EQ(TableText::CsvRecord(fields),
              L"'=cmd|' /C calc'!A0,'+1,'-1,'@SUM(A1),'\t=1,\"'\r=1\",\"\"\"q\"\"\tx\",a-1\r\n");
    EXPECT_EQ(TableText::TsvRecord(fields),
              L"'=cmd|' /C calc'!A0\t'+1\t'-1\t'@SUM(A1)\t' =1\t' =1\t\"\"\"q\"\" x\"\ta-1\r\n");
}

TEST(TableTextTest, Utf8StartsWithTheByteOrderMarkAndCarriesEveryLetter)
{
    // é, Ж, 中 and 😀 (a surrogate pair where wchar_t is UTF-16); a lone
    // surrogate becomes U+FFFD.
    std::wstring text = L"\u00e9\u0416\u4e2d";
    text += sizeof(wchar_t) == 2 ? std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)} : std::wstring{wchar_t(0x1F600)};
    text += wchar_t(0xD800);
    EXPECT_EQ(TableText::Utf8WithByteOrderMark(text),
              "\xEF\xBB\xBF\xC3\xA9\xD0\x96\xE4\xB8\xAD\xF0\x9F\x98\x80\xEF\xBF\xBD");
}

class PortListExtrasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        modMain::Main(program);
        h.spooler.ports = {Port("LPT1:", "Local Monitor"), Port("a,\"b\"", "Other"), Port("COM1:", "Local Monitor")};
        h.tmrInit.onTimer();
        h.log.clear();
    }

    static FakePort Port(const char* name, const char* monitor)
    {
        FakePort port{std::string(name)};
        port.monitor = std::string(monitor);
        return port;
    }

    void PressKey(std::int16_t keyCode, std::int16_t shift, bool onList = false)
    {
        std::int16_t key = keyCode;
        h.form.onKeyDown(key, shift);
        if (onList)
            h.lvPorts.onKeyDown(key, shift);
    }

    std::vector<std::string> WithoutList() const
    {
        std::vector<std::string> steps;
        for (const auto& entry : h.log)
            if (entry.rfind("lvPorts.", 0) != 0)
                steps.push_back(entry);
        return steps;
    }

    Harness h;
    modMain::Program program{h.runtime, h.support, h.spooler, PortsToShow{}, nullptr};
};

TEST_F(PortListExtrasTest, F5RefreshesFromAnywhereDelAsksOnTheListAndCtrlCCopiesTheSelectedRow)
{
    h.spooler.ports.pop_back();
    PressKey(116, 0);
    EXPECT_THAT(h.lvPorts.Texts(), ElementsAre(L"a,\"b\"", L"LPT1:"));
    PressKey(116, 2);  // Ctrl+F5 is no refresh
    EXPECT_THAT(EntriesStartingWith(h.log, "EnumPorts size"), testing::SizeIs(1));

    h.runtime.msgBoxAnswer = kIdCancel;
    PressKey(46, 0);  // not on the list: nothing
    EXPECT_THAT(EntriesStartingWith(h.log, "MsgBox"), IsEmpty());
    PressKey(46, 0, true);
    EXPECT_THAT(EntriesStartingWith(h.log, "MsgBox"), ElementsAre("MsgBox 'a,\"b\"\r\n\r\nDelete port?' 49"));

    PressKey(67, 2);
    EXPECT_EQ(h.runtime.clipboard, L"a,\"b\"\tOther\tLocal Port\tWrite\r\n");
    h.lvPorts.SelectQuietly(1, false);
    h.runtime.clipboard.clear();
    PressKey(67, 2);
    EXPECT_EQ(h.runtime.clipboard, L"");
}

TEST_F(PortListExtrasTest, TheContextMenuOffersTheRowsCommandsOnlyWithARowSelectedAndItsItemsRunThem)
{
    h.lvPorts.onContextMenu(ScreenPoint{40, 50});
    h.lvPorts.SelectQuietly(1, false);
    h.lvPorts.onContextMenu(ScreenPoint{1, 2});
    EXPECT_THAT(WithoutList(), ElementsAre("mnuSettings.Enabled = True", "mnuDelete.Enabled = True", "mnuCopy.Enabled = True",
                                   "PopupMenu mnuPorts 40,50", "mnuSettings.Enabled = False",
                                   "mnuDelete.Enabled = False", "mnuCopy.Enabled = False", "PopupMenu mnuPorts 1,2"));

    h.lvPorts.SelectQuietly(2, true);
    h.log.clear();
    for (const char* item : {"mnuSettings", "mnuAdd", "mnuCopy"})
        h.MenuItemNamed(item).onClick();
    EXPECT_THAT(WithoutList(), ElementsAre("ConfigurePort 0x1000 'COM1:'", "InputBox 'Input monitor name.' 'Local port'",
                                   "SetClipboardText"));
}

TEST_F(PortListExtrasTest, SaveListWritesEveryRowInTheShownOrderAsCsvOrTsvAndReportsARefusal)
{
    h.lvPorts.onColumnClick(*h.lvPorts.ColumnHeaders().Item(2));  // by monitor
    h.runtime.saveAsAnswer = SaveAsChoice{L"C:\\list.csv", 0};
    h.MenuItemNamed("mnuSaveAs").onClick();
    EXPECT_EQ(h.support.savedBytes, "\xEF\xBB\xBFName,Monitor,Description,Type\r\n"
                                    "COM1:,Local Monitor,Local Port,Write\r\n"
                                    "LPT1:,Local Monitor,Local Port,Write\r\n"
                                    "\"a,\"\"b\"\"\",Other,Local Port,Write\r\n");
    h.runtime.saveAsAnswer->type = 1;
    h.MenuItemNamed("mnuSaveAs").onClick();
    EXPECT_EQ(h.support.savedBytes.substr(0, 34), "\xEF\xBB\xBFName\tMonitor\tDescription\tType\r\n");

    h.support.saveRefusal = L"Access denied.";
    h.log.clear();
    h.MenuItemNamed("mnuSaveAs").onClick();
    EXPECT_THAT(EntriesStartingWith(h.log, "MsgBox"),
                ElementsAre("MsgBox 'Can't save the list to C:\\list.csv.\r\n\r\nAccess denied.' 48"));
    h.runtime.saveAsAnswer.reset();
    h.log.clear();
    h.MenuItemNamed("mnuSaveAs").onClick();
    EXPECT_THAT(h.log, ElementsAre("ShowSaveAs 'Ports' csv txt"));
}

TEST_F(PortListExtrasTest, ChangesElsewhereUpdateTheListOnceKeepingSortSelectionAndTopRow)
{
    ASSERT_TRUE(h.spooler.portsChanged);  // watched from the first refresh on
    const auto monitor = h.lvPorts.ColumnHeaders().Item(2);
    h.lvPorts.onColumnClick(*monitor);
    h.lvPorts.onColumnClick(*monitor);  // by monitor, descending
    h.lvPorts.SelectQuietly(1, false);
    h.lvPorts.SelectQuietly(3, true);   // LPT1:
    h.lvPorts.topIndex = 2;

    h.spooler.ports.push_back(Port("FILE:", "Other"));
    h.spooler.portsChanged();
    h.spooler.portsChanged();
    EXPECT_TRUE(h.tmrPortsChanged.enabled);
    h.tmrPortsChanged.onTimer();
    EXPECT_FALSE(h.tmrPortsChanged.enabled);
    EXPECT_THAT(EntriesStartingWith(h.log, "EnumPorts size"), testing::SizeIs(1));
    EXPECT_THAT(h.lvPorts.Texts(), ElementsAre(L"a,\"b\"", L"FILE:", L"COM1:", L"LPT1:"));
    EXPECT_THAT(h.lvPorts.SelectedPositions(), ElementsAre(4));
    EXPECT_EQ(h.lvPorts.topIndex, 3);  // the row that was at the top: COM1:

    // The selected port gone: the row that took its place.
    h.spooler.ports.erase(h.spooler.ports.begin());
    h.tmrPortsChanged.onTimer();
    EXPECT_THAT(h.lvPorts.Texts(), ElementsAre(L"a,\"b\"", L"FILE:", L"COM1:"));
    EXPECT_THAT(h.lvPorts.SelectedPositions(), ElementsAre(3));
}

}  // namespace
}  // namespace dovrel::test
