#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "tests/host/Fakes.h"

namespace dovrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The commands as the port window wires them, over the fakes.
class PortCommandsTest : public ::testing::Test {
protected:
    PortCommandsTest() : window(h.Controls(), h.runtime, h.support, h.spooler)
    {
        h.lvPorts.AddColumnsQuietly(4);
        h.spooler.ports = {FakePort{std::string("LPT1:")}, FakePort{std::string("COM1:")}};
    }

    // What reached the runtime and the spooler, without the list's steps.
    std::vector<std::string> Calls() const
    {
        std::vector<std::string> calls;
        for (const auto& entry : h.log)
            if (entry.rfind("InputBox", 0) == 0 || entry.rfind("MsgBox", 0) == 0 || entry.rfind("AddPort", 0) == 0 ||
                entry.rfind("DeletePort", 0) == 0 || entry.rfind("ConfigurePort", 0) == 0 ||
                entry.rfind("EnumPorts size", 0) == 0)
                calls.push_back(entry);
        return calls;
    }

    void SelectRow(const std::wstring& text)
    {
        h.lvPorts.AddRowsQuietly({L"COM1:", L"LPT1:", L"  "});
        for (std::size_t i = 0; i < h.lvPorts.rows.size(); ++i)
            h.lvPorts.rows[i].selected = h.lvPorts.rows[i].text == text;
    }

    Harness h;
    frmMain window;
};

TEST_F(PortCommandsTest, AddAsksForTheMonitorAndRebuildsTheListOnSuccess)
{
    h.runtime.inputAnswer = L"Local port";
    h.cmdAdd.onClick();
    EXPECT_THAT(Calls(), ElementsAre("InputBox 'Input monitor name.' 'Local port'", "AddPort 0x1000 'Local port'",
                                     "EnumPorts size"));
    EXPECT_THAT(h.lvPorts.Texts(), ElementsAre(L"COM1:", L"LPT1:"));
    EXPECT_THAT(h.lvPorts.SelectedPositions(), ElementsAre(1));
}

TEST_F(PortCommandsTest, AddPassesAnyNonEmptyTextUnchangedAndStopsOnTheEmptyText)
{
    h.runtime.inputAnswer = L"  Local Port ";
    h.cmdAdd.onClick();
    h.runtime.inputAnswer = L" ";
    h.cmdAdd.onClick();
    h.runtime.inputAnswer = L"";  // Cancel, or the field cleared
    h.cmdAdd.onClick();
    EXPECT_THAT(EntriesStartingWith(h.log, "AddPort"),
                ElementsAre("AddPort 0x1000 '  Local Port '", "AddPort 0x1000 ' '"));
    EXPECT_THAT(EntriesStartingWith(h.log, "InputBox"), testing::SizeIs(3));
    EXPECT_THAT(EntriesStartingWith(h.log, "MsgBox"), IsEmpty());
}

TEST_F(PortCommandsTest, ARefusedAddIsReportedAndTheListStays)
{
    h.runtime.inputAnswer = L"No such monitor";
    h.spooler.result = false;
    h.cmdAdd.onClick();
    EXPECT_THAT(Calls(), ElementsAre("InputBox 'Input monitor name.' 'Local port'", "AddPort 0x1000 'No such monitor'",
                                     "MsgBox 'Can't add port.' 48"));
}

TEST_F(PortCommandsTest, DeleteAsksWithThePortNameAndDeletesOnOk)
{
    SelectRow(L"LPT1:");
    h.runtime.msgBoxAnswer = kIdOk;
    h.cmdDelete.onClick();
    EXPECT_THAT(Calls(), ElementsAre("MsgBox 'LPT1:\r\n\r\nDelete port?' 49", "DeletePort 0x1000 'LPT1:'",
                                     "EnumPorts size"));
}

TEST_F(PortCommandsTest, DeleteCancelledOrRefusedLeavesTheListAlone)
{
    SelectRow(L"  ");
    h.runtime.msgBoxAnswer = kIdCancel;
    h.cmdDelete.onClick();
    EXPECT_THAT(Calls(), ElementsAre("MsgBox '  \r\n\r\nDelete port?' 49"));

    h.log.clear();
    h.runtime.msgBoxAnswer = kIdOk;
    h.spooler.result = false;
    h.cmdDelete.onClick();
    EXPECT_THAT(Calls(), ElementsAre("MsgBox '  \r\n\r\nDelete port?' 49", "DeletePort 0x1000 '  '",
                                     "MsgBox 'Can't delete port.' 48"));
    EXPECT_EQ(h.lvPorts.rows.size(), 3u);
}

TEST_F(PortCommandsTest, OkDeletesThePortTheQuestionNamedOrNothingWhenItIsGone)
{
    SelectRow(L"COM1:");
    // Another program moves the selection while the question is up.
    h.runtime.whileMsgBoxIsUp = [this] {
        for (auto& row : h.lvPorts.rows)
            row.selected = row.text == L"LPT1:";
    };
    h.cmdDelete.onClick();
    EXPECT_THAT(Calls(), ElementsAre("MsgBox 'COM1:\r\n\r\nDelete port?' 49", "DeletePort 0x1000 'COM1:'",
                                     "EnumPorts size"));

    h.log.clear();
    h.lvPorts.rows.clear();
    SelectRow(L"COM1:");
    h.runtime.whileMsgBoxIsUp = [this] { h.lvPorts.rows.erase(h.lvPorts.rows.begin()); };
    h.cmdDelete.onClick();
    EXPECT_THAT(Calls(), ElementsAre("MsgBox 'COM1:\r\n\r\nDelete port?' 49"));
}

TEST_F(PortCommandsTest, SettingsConfiguresTheSelectedPortAndNeverRefreshes)
{
    SelectRow(L"LPT1:");
    h.cmdSettings.onClick();
    h.spooler.result = false;
    h.cmdSettings.onClick();
    EXPECT_THAT(Calls(), ElementsAre("ConfigurePort 0x1000 'LPT1:'", "ConfigurePort 0x1000 'LPT1:'"));
}

TEST_F(PortCommandsTest, WithoutASelectionDeleteAndSettingsDoNothing)
{
    h.cmdDelete.onClick();
    h.cmdSettings.onClick();
    h.lvPorts.AddRowsQuietly({L"LPT1:"});
    h.cmdDelete.onClick();
    h.cmdSettings.onClick();
    h.lvPorts.onDblClick();
    EXPECT_THAT(Calls(), IsEmpty());
}

TEST_F(PortCommandsTest, DoubleClickRunsSettingsThroughTheButton)
{
    SelectRow(L"COM1:");
    h.lvPorts.onDblClick();
    EXPECT_THAT(Calls(), ElementsAre("ConfigurePort 0x1000 'COM1:'"));
}

}  // namespace
}  // namespace dovrel::test
