#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "app/modMain.h"
#include "platform/Error.h"
#include "tests/host/Fakes.h"

namespace dovrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class PortWindowTest : public ::testing::Test {
protected:
    void StartProgram()
    {
        modMain::Main(program);
        ASSERT_NE(program.mainForm, nullptr);
    }

    frmMain& Window() { return *program.mainForm; }

    // Presses a key as the window's key preview delivers it, and checks that
    // the handler hands both arguments on unchanged.
    void PressKey(std::int16_t keyCode, std::int16_t shift)
    {
        std::int16_t key = keyCode;
        std::int16_t state = shift;
        h.form.onKeyDown(key, state);
        EXPECT_EQ(key, keyCode);
        EXPECT_EQ(state, shift);
    }

    Harness h;
    modMain::Program program{h.runtime, h.support, h.spooler, PortsToShow{}, nullptr};
};

TEST_F(PortWindowTest, StartUpRunsInOrderAndLoadsTheWindowBeforeShowingIt)
{
    StartProgram();

    std::vector<std::string> steps;
    for (const auto& entry : h.log)
        if (entry.rfind("lvPorts.", 0) != 0)
            steps.push_back(entry);
    EXPECT_THAT(steps, ElementsAre("RegisterAppPath", "InitCommonControls", "IsInDesignEnvironment",
                                   "GetRuntimeMainWindow", "SetWindowIconFromResource 0x900 A_MAIN", "CreateForm frmMain",
                                   "Show", "IsInDesignEnvironment", "SetWindowIconFromResource 0x1000 A_MAIN",
                                   "FixContainerWindows", "CreatePlacementStore",
                                   "LoadPlacement '' 'Window placement' 0x1000 Orvane - Dovrel 0 0 0 -1",
                                   "CenterForm 0x1000 0"));
    // The list is configured between the container fix-up and the placement.
    const auto fix = std::find(h.log.begin(), h.log.end(), "FixContainerWindows");
    const auto store = std::find(h.log.begin(), h.log.end(), "CreatePlacementStore");
    EXPECT_THAT(std::vector<std::string>(fix + 1, store),
                ElementsAre("lvPorts.BorderStyle = 0", "lvPorts.HideSelection = False", "lvPorts.LabelEdit = 1",
                            "lvPorts.MultiSelect = False", "lvPorts.View = 3", "lvPorts.SetExtendedStyle 32 32",
                            "lvPorts.SetExtendedStyle 1 1", "lvPorts.SetExtendedStyle 16384 16384",
                            "lvPorts.ColumnHeaders.Add Name", "lvPorts.ColumnHeaders.Add Monitor",
                            "lvPorts.ColumnHeaders.Add Description", "lvPorts.ColumnHeaders.Add Type"));
    // Loading ends with an empty list; the timer is still on for the first refresh.
    EXPECT_THAT(h.lvPorts.Texts(), IsEmpty());
    EXPECT_TRUE(h.tmrInit.enabled);
    EXPECT_THAT(EntriesStartingWith(h.log, "EnumPorts"), IsEmpty());
}

TEST_F(PortWindowTest, InsideTheDevelopmentEnvironmentNoIconIsSet)
{
    h.support.designEnvironment = true;
    StartProgram();
    EXPECT_THAT(EntriesStartingWith(h.log, "SetWindowIconFromResource"), IsEmpty());
    EXPECT_THAT(EntriesStartingWith(h.log, "GetRuntimeMainWindow"), IsEmpty());
    EXPECT_THAT(EntriesStartingWith(h.log, "FixContainerWindows"), ElementsAre("FixContainerWindows"));
}

TEST_F(PortWindowTest, AStoredPlacementIsUsedInsteadOfCentring)
{
    h.support.placementStored = true;
    StartProgram();
    EXPECT_THAT(EntriesStartingWith(h.log, "CenterForm"), IsEmpty());
}

TEST_F(PortWindowTest, MainMakesOneWindowOnlyAndAFailureBeforeShowingShowsNothing)
{
    StartProgram();
    frmMain* first = program.mainForm.get();
    modMain::Main(program);
    EXPECT_EQ(program.mainForm.get(), first);
    EXPECT_THAT(EntriesStartingWith(h.log, "CreateForm"), ElementsAre("CreateForm frmMain"));

    Harness other;
    other.faults.failOn = "InitCommonControls";
    modMain::Program failing{other.runtime, other.support, other.spooler, PortsToShow{}, nullptr};
    EXPECT_THROW(modMain::Main(failing), Error);
    EXPECT_FALSE(other.form.loaded);
    EXPECT_THAT(EntriesStartingWith(other.log, "CreateForm"), IsEmpty());
}

// The App Paths entry is a convenience: a registry that refuses it does not
// stop the start.
TEST_F(PortWindowTest, AFailedRegisterAppPathStillShowsTheWindow)
{
    h.faults.failOn = "RegisterAppPath";
    StartProgram();
    EXPECT_TRUE(h.form.loaded);
    EXPECT_THAT(EntriesStartingWith(h.log, "Show"), ElementsAre("Show"));
}

TEST_F(PortWindowTest, F1OpensTheReadMeAndShiftF1TheAboutBoxAndNothingElse)
{
    StartProgram();
    h.log.clear();

    PressKey(112, 0);
    PressKey(112, 1);
    for (std::int16_t shift : {2, 3, 4, 5, 6, 7})
        PressKey(112, shift);
    PressKey(113, 0);
    PressKey(27, 1);

    EXPECT_THAT(h.log, ElementsAre("OpenReadMe 0", "CreateFormServices",
                                   "ShowAbout#1 0x1000 Orvane - Dovrel '' '" +
                                       std::string("For everyone who keeps the printers of an office running.") + "'"));
}

TEST_F(PortWindowTest, HelpOpensTheReadMeEvenWithShiftHeld)
{
    StartProgram();
    h.log.clear();
    h.cmdHelp.onClick();
    EXPECT_THAT(h.log, ElementsAre("OpenReadMe 0"));
}

TEST_F(PortWindowTest, FormServicesIsMadeOnceAndSharedByAboutAndDoubleClick)
{
    StartProgram();
    h.lvPorts.onDblClick();
    PressKey(112, 1);
    h.lvPorts.onDblClick();
    EXPECT_EQ(h.support.formServicesMade, 1);
    EXPECT_THAT(EntriesStartingWith(h.log, "PressButton"), ElementsAre("PressButton#1 0x2004", "PressButton#1 0x2004"));
    EXPECT_THAT(EntriesStartingWith(h.log, "ShowAbout"), testing::SizeIs(1));
}

TEST_F(PortWindowTest, ClosingSavesThePlacementWithAFreshStoreEachTime)
{
    StartProgram();
    h.log.clear();

    h.cmdCancel.onClick();
    EXPECT_THAT(h.log, ElementsAre("Unload", "CreatePlacementStore",
                                   "SavePlacement '' 'Window placement' 0x1000 Orvane - Dovrel -1"));
    EXPECT_TRUE(h.form.unloaded);
    EXPECT_EQ(h.support.placementStoresMade, 2);  // one to load, one to save
}

TEST_F(PortWindowTest, ColumnClickSortsByThatColumnAndASecondClickReverses)
{
    StartProgram();
    h.lvPorts.AddRowsQuietly({L"b", L"a"});
    h.lvPorts.ListItems().Item(1)->SetSubItem(1, L"y");
    h.lvPorts.ListItems().Item(2)->SetSubItem(1, L"z");
    auto monitor = h.lvPorts.ColumnHeaders().Item(2);

    h.lvPorts.onColumnClick(*monitor);
    EXPECT_THAT(h.lvPorts.Texts(), ElementsAre(L"b", L"a"));
    h.lvPorts.onColumnClick(*monitor);
    EXPECT_THAT(h.lvPorts.Texts(), ElementsAre(L"a", L"b"));
    EXPECT_EQ(h.lvPorts.SortOrder(), 1);
}

// The watch goes on before the first enumeration, so that a change made
// after it is not missed, and also when the refresh fails.
TEST_F(PortWindowTest, TheTimerTicksOnceWhetherTheRefreshSucceedsOrFailsAndWatchesBeforeTheFirstEnumeration)
{
    StartProgram();
    h.spooler.ports = {FakePort{std::string("LPT1:")}};
    h.log.clear();

    h.tmrInit.onTimer();
    EXPECT_EQ(h.log.front(), "tmrInit.Enabled = False");
    EXPECT_EQ(h.log[1], "WatchPorts");
    EXPECT_FALSE(h.tmrInit.enabled);
    EXPECT_THAT(h.lvPorts.Texts(), ElementsAre(L"LPT1:"));

    Harness failing;
    modMain::Program other{failing.runtime, failing.support, failing.spooler, PortsToShow{}, nullptr};
    modMain::Main(other);
    failing.faults.failOn = "StringFromAnsiPointer";
    failing.spooler.ports = {FakePort{std::string("LPT1:")}};
    EXPECT_THROW(failing.tmrInit.onTimer(), Error);
    EXPECT_FALSE(failing.tmrInit.enabled);
    EXPECT_TRUE(failing.spooler.portsChanged);
}

}  // namespace
}  // namespace dovrel::test
