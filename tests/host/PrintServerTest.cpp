#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/ServerName.h"
#include "app/modMain.h"
#include "tests/host/Fakes.h"
#include "tests/host/RecordingListView.h"

namespace dovrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ServerNameTest, AServerIsNamedWithOrWithoutItsBackslashesAndNothingElseIsOne)
{
    EXPECT_EQ(ServerName(L"printsrv"), L"\\\\printsrv");
    EXPECT_EQ(ServerName(L"\\\\print-srv.example.com"), L"\\\\print-srv.example.com");
    EXPECT_EQ(ServerName(L"10.0.0.7"), L"\\\\10.0.0.7");
    EXPECT_EQ(ServerName(L"\\\\Сервер"), L"\\\\Сервер");
    for (const wchar_t* notOne : {L"", L"\\\\", L"\\server", L"\\\\a\\b", L"/?", L"-?", L"two words", L"a:b", L"...",
                                  L"srv\t", L"a,b"})
        EXPECT_EQ(ServerName(notOne), std::nullopt) << "\"" << Utf8(notOne) << "\"";
    EXPECT_TRUE(ServerName(std::wstring(255, L'a')));
    EXPECT_FALSE(ServerName(std::wstring(256, L'a')));

    EXPECT_EQ(PortsAskedFor({})->server, L"");
    EXPECT_EQ(PortsAskedFor({L"srv"})->server, L"\\\\srv");
    EXPECT_EQ(PortsAskedFor({L"srv", L"other"}), std::nullopt);
    EXPECT_EQ(PortsAskedFor({L"/?"}), std::nullopt);
}

class PrintServerWindowTest : public ::testing::Test {
protected:
    void Start(std::optional<PortsToShow> asked)
    {
        program.portsToShow = std::move(asked);
        modMain::Main(program);
    }
    void FirstTick()
    {
        h.tmrInit.onTimer();
    }
    FakeTimer& Poll() { return static_cast<FakeTimer&>(h.Controls().TimerNamed("tmrServerPoll")); }

    Harness h;
    modMain::Program program{h.runtime, h.support, h.spooler, PortsToShow{}, nullptr};
};

TEST_F(PrintServerWindowTest, ACommandLineNotTakenShowsTheUsageAndNoWindow)
{
    Start(std::nullopt);
    EXPECT_EQ(program.mainForm, nullptr);
    EXPECT_FALSE(h.form.loaded);
    EXPECT_THAT(EntriesStartingWith(h.log, "MsgBox"),
                ElementsAre("MsgBox 'Usage: Dovrel [\\\\server]\r\n\r\nWithout a server name, Dovrel shows the "
                            "printer ports of this computer; with one, the ports of that print server.' 48"));
}

TEST_F(PrintServerWindowTest, TheLocalWindowKeepsItsCaptionAndIsNeverPolled)
{
    Start(PortsToShow{});
    FirstTick();
    EXPECT_EQ(h.form.caption, L"Ports");
    EXPECT_FALSE(Poll().enabled);
}

// A server that tells of changes is not asked again; one that does not (or
// stops telling) is, through the same update as a change it told of, and a
// minimised window catches up when it is restored.
TEST_F(PrintServerWindowTest, AServerThatTellsOfNoChangesIsAskedAgainWhileTheWindowShows)
{
    Start(PortsToShow{L"\\\\printsrv"});
    EXPECT_EQ(h.form.caption, L"Ports on \\\\printsrv");
    FirstTick();
    EXPECT_TRUE(Poll().enabled);
    EXPECT_EQ(Poll().Interval(), 30000);

    Poll().onTimer();
    EXPECT_FALSE(h.tmrPortsChanged.enabled) << "the server tells of its changes";

    h.spooler.watching = false;
    h.form.minimized = true;
    Poll().onTimer();
    EXPECT_FALSE(h.tmrPortsChanged.enabled) << "minimised";
    h.form.minimized = false;
    h.form.onResize();
    EXPECT_TRUE(h.tmrPortsChanged.enabled) << "restored after a poll was missed";

    h.tmrPortsChanged.enabled = false;
    Poll().onTimer();
    EXPECT_TRUE(h.tmrPortsChanged.enabled);
}

TEST_F(PrintServerWindowTest, ConnectToServerStartsAnotherDovrelForANameAndNothingElse)
{
    Start(PortsToShow{});

    for (const wchar_t* typed : {L"", L"   "}) {
        h.runtime.inputAnswer = typed;
        program.mainForm->mnuConnect_Click();
    }
    EXPECT_THAT(EntriesStartingWith(h.log, "StartForServer"), IsEmpty());
    EXPECT_THAT(EntriesStartingWith(h.log, "MsgBox"), IsEmpty());

    h.runtime.inputAnswer = L"two words";
    program.mainForm->mnuConnect_Click();
    EXPECT_THAT(EntriesStartingWith(h.log, "MsgBox"),
                ElementsAre("MsgBox '\"two words\" is not the name of a print server.' 48"));

    h.runtime.inputAnswer = L" printsrv ";
    program.mainForm->mnuConnect_Click();
    h.support.startRefusal = 2;
    h.runtime.inputAnswer = L"\\\\gone";
    program.mainForm->mnuConnect_Click();
    EXPECT_THAT(EntriesStartingWith(h.log, "StartForServer"),
                ElementsAre("StartForServer \\\\printsrv", "StartForServer \\\\gone"));
    EXPECT_EQ(EntriesStartingWith(h.log, "MsgBox").back(),
              "MsgBox 'Can't start Dovrel for \\\\gone.\r\n\r\n<reason 2>' 48");
    EXPECT_THAT(EntriesStartingWith(h.log, "InputBox"), testing::Each("InputBox 'Input server name.' ''"));
}

}  // namespace
}  // namespace dovrel::test
