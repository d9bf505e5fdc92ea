#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "ports/Refusals.h"
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

    // What reached the runtime, the spooler and the restart, without the
    // list's steps.
    std::vector<std::string> Calls() const
    {
        static const char* const kShown[] = {"InputBox", "MsgBox", "AddPort", "DeletePort", "ConfigurePort",
                                             "EnumPorts size", "PrintersUsingPort", "SavePlacement",
                                             "StartAsAdministrator", "Unload"};
        std::vector<std::string> calls;
        for (const auto& entry : h.log)
            for (const char* shown : kShown)
                if (entry.rfind(shown, 0) == 0)
                    calls.push_back(entry);
        return calls;
    }

    void SelectRow(const std::wstring& text)
    {
        h.lvPorts.AddRowsQuietly({L"COM1:", L"LPT1:", L"  "});
        h.lvPorts.SelectOnly(text);
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

// The fixed text stays the first line; the reason, where the spooler gave
// one, goes below it. A monitor's dialog cancelled is the user's choice.
TEST_F(PortCommandsTest, ARefusedAddIsReportedWithItsReasonAndTheListStays)
{
    h.runtime.inputAnswer = L"No such monitor";
    h.spooler.result = {false, 50};
    h.cmdAdd.onClick();
    h.spooler.result = {false, 0};
    h.cmdAdd.onClick();
    h.spooler.result = {false, kErrorCancelled};
    h.cmdAdd.onClick();
    EXPECT_THAT(EntriesStartingWith(h.log, "MsgBox"),
                ElementsAre("MsgBox 'Can't add port.\r\n\r\n<reason 50>' 48", "MsgBox 'Can't add port.' 48"));
    EXPECT_THAT(EntriesStartingWith(h.log, "EnumPorts"), IsEmpty());
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
    h.spooler.result = {false, 1796};
    h.cmdDelete.onClick();
    EXPECT_THAT(Calls(), ElementsAre("MsgBox '  \r\n\r\nDelete port?' 49", "DeletePort 0x1000 '  '",
                                     "MsgBox 'Can't delete port.\r\n\r\n<reason 1796>' 48"));
    EXPECT_EQ(h.lvPorts.Texts().size(), 3u);
}

TEST_F(PortCommandsTest, APortInUseNamesAtMostFiveOfItsPrinters)
{
    SelectRow(L"LPT1:");
    h.spooler.result = {false, kErrorBusy};
    h.spooler.printers = {L"A", L"B", L"C", L"D", L"E", L"F", L"G"};
    h.cmdDelete.onClick();
    EXPECT_THAT(Calls(), ElementsAre("MsgBox 'LPT1:\r\n\r\nDelete port?' 49", "DeletePort 0x1000 'LPT1:'",
                                     "PrintersUsingPort 'LPT1:'",
                                     "MsgBox 'Can't delete port.\r\n\r\n<reason 170>\r\n\r\n"
                                     "Printers that use the port:\r\nA\r\nB\r\nC\r\nD\r\nE\r\nand 2 more' 48"));
    EXPECT_EQ(PrintersText({L"A", L"B", L"C", L"D", L"E"}), L"Printers that use the port:\r\nA\r\nB\r\nC\r\nD\r\nE");
}

// Refused for want of rights: where UAC can give them, the box offers a
// restart as administrator; Yes saves the placement, starts the program
// again and ends this instance once that start succeeded.
TEST_F(PortCommandsTest, MissingRightsOfferARestartAsAdministratorWhereUacCanGiveThem)
{
    const std::string denied = "Can't add port.\r\n\r\n<reason 5>";
    const std::string offer = "MsgBox '" + denied +
                              "\r\n\r\nChanging ports needs administrator rights. Restart Dovrel as administrator?' 52";
    h.runtime.inputAnswer = L"Local port";
    h.spooler.result = {false, kErrorAccessDenied};
    h.cmdAdd.onClick();
    h.support.underUac = true;
    h.runtime.msgBoxAnswer = 7;  // No
    h.cmdAdd.onClick();
    EXPECT_THAT(EntriesStartingWith(h.log, "MsgBox"), ElementsAre("MsgBox '" + denied + "' 48", offer));

    h.log.clear();
    h.runtime.msgBoxAnswer = kIdYes;
    h.support.startRefusal = kErrorCancelled;  // the user said no to the system's question
    h.cmdAdd.onClick();
    h.support.startRefusal = 2;
    h.cmdAdd.onClick();
    h.support.startRefusal = 0;
    h.cmdAdd.onClick();
    const std::string start[] = {"SavePlacement '' 'Window placement' 0x1000 Orvane - Dovrel -1", "StartAsAdministrator 0x1000"};
    EXPECT_THAT(Calls(),
                ElementsAre(testing::_, testing::_, offer, start[0], start[1],  // refused: nothing more
                            testing::_, testing::_, offer, start[0], start[1],
                            "MsgBox 'Can't restart Dovrel as administrator.\r\n\r\n<reason 2>' 48",
                            testing::_, testing::_, offer, start[0], start[1], "Unload",
                            "SavePlacement '' 'Window placement' 0x1000 Orvane - Dovrel -1"));
    EXPECT_TRUE(h.form.unloaded);
}

TEST_F(PortCommandsTest, OkDeletesThePortTheQuestionNamedOrNothingWhenItIsGone)
{
    SelectRow(L"COM1:");
    // Another program moves the selection while the question is up.
    h.runtime.whileMsgBoxIsUp = [this] { h.lvPorts.SelectOnly(L"LPT1:"); };
    h.cmdDelete.onClick();
    EXPECT_THAT(Calls(), ElementsAre("MsgBox 'COM1:\r\n\r\nDelete port?' 49", "DeletePort 0x1000 'COM1:'",
                                     "EnumPorts size"));

    h.log.clear();
    h.lvPorts.ListItems().Clear();
    SelectRow(L"COM1:");
    h.runtime.whileMsgBoxIsUp = [this] { h.lvPorts.ListItems().Clear(); };
    h.cmdDelete.onClick();
    EXPECT_THAT(Calls(), ElementsAre("MsgBox 'COM1:\r\n\r\nDelete port?' 49"));
}

// Of a refused configure only missing rights are told.
TEST_F(PortCommandsTest, SettingsConfiguresTheSelectedPortAndNeverRefreshes)
{
    SelectRow(L"LPT1:");
    h.cmdSettings.onClick();
    h.spooler.result = {false, kErrorCancelled};
    h.cmdSettings.onClick();
    h.spooler.result = {false, 1796};
    h.cmdSettings.onClick();
    h.spooler.result = {false, kErrorAccessDenied};
    h.cmdSettings.onClick();
    EXPECT_THAT(Calls(), ElementsAre("ConfigurePort 0x1000 'LPT1:'", "ConfigurePort 0x1000 'LPT1:'",
                                     "ConfigurePort 0x1000 'LPT1:'", "ConfigurePort 0x1000 'LPT1:'",
                                     "MsgBox 'Can't configure port.\r\n\r\n<reason 5>' 48"));
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
