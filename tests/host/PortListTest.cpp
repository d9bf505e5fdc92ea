#include <cstring>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "ports/PortList.h"
#include "tests/host/Fakes.h"

namespace dovrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// What the port window does with the list's news of its rows.
std::function<void(bool)> ButtonsFollowRows(Harness& h)
{
    return [&h](bool holdsRows) {
        h.cmdDelete.SetEnabled(holdsRows);
        h.cmdSettings.SetEnabled(holdsRows);
    };
}

class PortListTest : public ::testing::Test {
protected:
    PortListTest()
    {
        h.lvPorts.AddColumnsQuietly(4);
        h.cmdDelete.enabled = false;
        h.cmdSettings.enabled = false;
    }

    void Refresh() { ports.RefreshPorts(); }

    std::vector<std::wstring> Column(int column) const { return h.lvPorts.Column(column); }

    bool ButtonsEnabled() const { return h.cmdDelete.enabled && h.cmdSettings.enabled; }

    Harness h;
    PortList ports{h.lvPorts, h.runtime, h.support, h.spooler, ButtonsFollowRows(h)};
};

TEST(PortTypeTextTest, EachLowBitAddsItsPieceAndNothingGivesUnknown)
{
    EventLog log;
    FakeSupport support(log);
    EXPECT_EQ(PortTypeText(0, support), L"Unknown");
    EXPECT_EQ(PortTypeText(1, support), L"Write");
    EXPECT_EQ(PortTypeText(3, support), L"Write, Read");
    EXPECT_EQ(PortTypeText(12, support), L"Redirected, Net attached");
    EXPECT_EQ(PortTypeText(15, support), L"Write, Read, Redirected, Net attached");
    EXPECT_EQ(PortTypeText(16, support), L"Unknown");
    EXPECT_EQ(PortTypeText(0xFFFFFFF2u, support), L"Read");
}

TEST_F(PortListTest, RefreshShowsEveryPortSortedByNameWithTheFirstSelected)
{
    h.spooler.ports = {Port("LPT1:"), Port("com2:", 3), Port("FILE:", 0), Port("COM1:", 15)};

    Refresh();

    EXPECT_THAT(Column(0), ElementsAre(L"COM1:", L"com2:", L"FILE:", L"LPT1:"));
    EXPECT_THAT(Column(1), ElementsAre(L"Local Monitor", L"Local Monitor", L"Local Monitor", L"Local Monitor"));
    EXPECT_THAT(Column(2), ElementsAre(L"Local Port", L"Local Port", L"Local Port", L"Local Port"));
    EXPECT_THAT(Column(3), ElementsAre(L"Write, Read, Redirected, Net attached", L"Write, Read", L"Unknown", L"Write"));
    EXPECT_THAT(h.lvPorts.SelectedPositions(), ElementsAre(1));
    EXPECT_TRUE(ButtonsEnabled());
    ASSERT_EQ(h.lvPorts.autoSized.size(), 4u);
    for (const auto& autoSize : h.lvPorts.autoSized)
        EXPECT_TRUE(autoSize.useHeader);
    // The buffer is the size call's byte count; the spooler gets exactly that.
    EXPECT_THAT(h.spooler.offeredSizes, ElementsAre(0u, static_cast<std::uint32_t>(h.spooler.BytesNeeded())));
}

TEST_F(PortListTest, RefreshRunsItsStepsInOrder)
{
    h.spooler.ports = {Port("LPT1:")};
    Refresh();

    std::vector<std::string> steps;
    for (const auto& entry : h.log)
        if (entry.rfind("lvPorts.", 0) != 0 || entry.find("Sort") != std::string::npos ||
            entry.find("Clear") != std::string::npos || entry.find("Add") != std::string::npos)
            steps.push_back(entry);
    EXPECT_THAT(steps, ElementsAre("cmdDelete.Enabled = False", "cmdSettings.Enabled = False", "MousePointer = 11",
                                   "lvPorts.SortKey = 0", "lvPorts.SortOrder = 0", "lvPorts.Sorted = True",
                                   "lvPorts.ListItems.Clear", "EnumPorts size",
                                   "EnumPorts data " + std::to_string(h.spooler.BytesNeeded()),
                                   "lvPorts.ListItems.Add LPT1:", "cmdDelete.Enabled = True",
                                   "cmdSettings.Enabled = True", "MousePointer = 0"));
}

TEST_F(PortListTest, ARefreshReturnsTheListToAscendingOrderOfName)
{
    h.spooler.ports = {Port("b"), Port("a"), Port("c")};
    h.lvPorts.SetStateQuietly(true, 2, 1);
    Refresh();
    EXPECT_THAT(Column(0), ElementsAre(L"a", L"b", L"c"));
    EXPECT_EQ(h.lvPorts.SortKey(), 0);
    EXPECT_EQ(h.lvPorts.SortOrder(), 0);
}

TEST_F(PortListTest, DuplicateNamesEmptyStringsAndNullAddressesStillGiveRows)
{
    FakePort nullEverything;
    nullEverything.name.reset();
    nullEverything.monitor.reset();
    nullEverything.description.reset();
    FakePort empty = Port("");
    empty.monitor = std::string();
    h.spooler.ports = {Port("LPT1:"), Port("LPT1:"), nullEverything, empty};

    Refresh();

    EXPECT_THAT(Column(0), ElementsAre(L"", L"", L"LPT1:", L"LPT1:"));
    EXPECT_THAT(Column(1), ElementsAre(L"", L"", L"Local Monitor", L"Local Monitor"));
    EXPECT_EQ(h.lvPorts.Texts().size(), 4u);
}

TEST_F(PortListTest, NoBytesAfterEitherCallShowsTheMessageOnceAndLeavesTheListEmpty)
{
    for (int call = 0; call < 3; ++call) {
        Harness fresh;
        fresh.lvPorts.AddColumnsQuietly(4);
        fresh.cmdDelete.enabled = fresh.cmdSettings.enabled = false;
        PortList list{fresh.lvPorts, fresh.runtime, fresh.support, fresh.spooler, ButtonsFollowRows(fresh)};
        fresh.lvPorts.AddRowsQuietly({L"old"});
        fresh.spooler.ports = {Port("LPT1:")};
        if (call == 0)
            fresh.spooler.sizeCallBytes = 0;  // the size call reports nothing
        else if (call == 1)
            fresh.spooler.ports.clear();      // a spooler without any port
        else
            fresh.spooler.afterDataCall = [](std::uint8_t*, std::int32_t& bytes, std::int32_t&) { bytes = 0; };

        list.RefreshPorts();

        EXPECT_THAT(EntriesStartingWith(fresh.log, "MsgBox"), ElementsAre("MsgBox 'Can't enum ports.' 16")) << call;
        EXPECT_TRUE(fresh.lvPorts.Texts().empty()) << call;
        EXPECT_FALSE(fresh.cmdDelete.enabled || fresh.cmdSettings.enabled) << call;
        EXPECT_THAT(fresh.lvPorts.autoSized, IsEmpty()) << "no auto-size after a failure, case " << call;
        // The hourglass stays while the box is open and goes once it closes.
        EXPECT_THAT(EntriesStartingWith(fresh.log, "M"),
                    ElementsAre("MousePointer = 11", "MsgBox 'Can't enum ports.' 16", "MousePointer = 0"))
            << call;
    }
}

TEST_F(PortListTest, BytesWithoutRecordsGiveAnEmptyListWithoutAMessage)
{
    h.spooler.ports = {Port("LPT1:")};
    h.spooler.afterDataCall = [](std::uint8_t*, std::int32_t&, std::int32_t& returned) { returned = 0; };

    Refresh();

    EXPECT_TRUE(h.lvPorts.Texts().empty());
    EXPECT_THAT(EntriesStartingWith(h.log, "MsgBox"), IsEmpty());
    EXPECT_FALSE(ButtonsEnabled());
    EXPECT_EQ(h.lvPorts.autoSized.size(), 4u);
    EXPECT_EQ(h.runtime.pointer, MousePointer::Default);
}

// --- what the spooler hands over is never read beyond what it filled ---

TEST_F(PortListTest, ARecordCountBeyondTheFilledBytesShowsOnlyWholeRecords)
{
    h.spooler.ports = {Port("A"), Port("B")};
    h.spooler.afterDataCall = [](std::uint8_t*, std::int32_t&, std::int32_t& returned) { returned = 1000000; };
    Refresh();
    // The string bytes after the two records may read as further records;
    // what matters is that nothing past the filled bytes is read.
    EXPECT_EQ(h.lvPorts.Texts().size(), h.spooler.BytesNeeded() / sizeof(PortInfo2));
    EXPECT_THAT(Column(0), testing::IsSupersetOf({L"A", L"B"}));

    Harness small;
    small.lvPorts.AddColumnsQuietly(4);
    PortList list{small.lvPorts, small.runtime, small.support, small.spooler, ButtonsFollowRows(small)};
    small.spooler.ports = {Port("A"), Port("B")};
    // Only one and a half records' worth of bytes reported as filled.
    small.spooler.afterDataCall = [](std::uint8_t*, std::int32_t& bytes, std::int32_t&) {
        bytes = static_cast<std::int32_t>(sizeof(PortInfo2) + sizeof(PortInfo2) / 2);
    };
    list.RefreshPorts();
    EXPECT_EQ(small.lvPorts.Texts().size(), 1u);
}

TEST_F(PortListTest, AddressesOutsideTheFilledBytesReadAsEmptyText)
{
    static const char outside[] = "outside the buffer";
    h.spooler.ports = {Port("LPT1:"), Port("LPT2:")};
    h.spooler.afterDataCall = [](std::uint8_t* buffer, std::int32_t& bytes, std::int32_t&) {
        PortInfo2 record;
        std::memcpy(&record, buffer, sizeof record);
        record.pMonitorName = outside;
        record.pDescription = reinterpret_cast<const char*>(buffer) + bytes;  // one past the filled bytes
        std::memcpy(buffer, &record, sizeof record);

        // The second record's name runs to the end of the filled bytes with no NUL.
        std::memcpy(&record, buffer + sizeof record, sizeof record);
        const char* last = reinterpret_cast<const char*>(buffer) + bytes - 3;
        std::memset(buffer + bytes - 3, 'x', 3);
        record.pPortName = last;
        std::memcpy(buffer + sizeof record, &record, sizeof record);
    };

    Refresh();

    ASSERT_EQ(h.lvPorts.Texts().size(), 2u);
    EXPECT_THAT(Column(0), ElementsAre(L"", L"LPT1:"));
    EXPECT_THAT(Column(1), ElementsAre(L"Local Monitor", L""));
    // The overwritten bytes also took the terminator of the last string.
    EXPECT_THAT(Column(2), ElementsAre(L"", L""));
}

// Windows packs the strings downwards from the end of the buffer offered;
// with a port gone between the two calls, the byte count reported is less
// than the buffer, and the first records' strings lie beyond it.
TEST_F(PortListTest, APortGoneBetweenTheCallsLeavesEveryOtherNameReadable)
{
    h.spooler.windowsLayout = true;
    h.spooler.ports = {Port("COM1:"), Port("FILE:"), Port("LPT1:"), Port("LPT2:")};
    h.spooler.beforeDataCall = [this](int) { h.spooler.ports.pop_back(); };

    Refresh();

    EXPECT_LT(h.spooler.BytesNeeded(), h.spooler.offeredSizes.back());
    EXPECT_THAT(Column(0), ElementsAre(L"COM1:", L"FILE:", L"LPT1:"));
    EXPECT_THAT(Column(1), ElementsAre(L"Local Monitor", L"Local Monitor", L"Local Monitor"));
    EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(PortListTest, PortsAddedBetweenTheCallsAreFetchedWithANewSize)
{
    h.spooler.ports = {Port("LPT1:")};
    h.spooler.beforeDataCall = [this](int call) {
        if (call == 1)
            h.spooler.ports.push_back(Port("LPT2:"));
    };

    Refresh();

    EXPECT_THAT(Column(0), ElementsAre(L"LPT1:", L"LPT2:"));
    EXPECT_THAT(EntriesStartingWith(h.log, "MsgBox"), IsEmpty());
    EXPECT_EQ(h.spooler.offeredSizes.size(), 3u);
    EXPECT_EQ(h.spooler.offeredSizes.back(), h.spooler.BytesNeeded());
}

// The message gives the reason of the last refusal below its fixed text.
TEST_F(PortListTest, PortsThatKeepGrowingEndInTheMessageAfterAFewAttempts)
{
    h.spooler.ports = {Port("P0")};
    h.spooler.beforeDataCall = [this](int call) { h.spooler.ports.push_back(Port(("P" + std::to_string(call)).c_str())); };
    h.spooler.enumError = 122;  // ERROR_INSUFFICIENT_BUFFER

    Refresh();

    EXPECT_EQ(h.spooler.offeredSizes.size(), 1u + SpoolerAnswer::kMaxDataCalls);
    EXPECT_THAT(EntriesStartingWith(h.log, "MsgBox"), ElementsAre("MsgBox 'Can't enum ports.\r\n\r\n<reason 122>' 16"));
    EXPECT_TRUE(h.lvPorts.Texts().empty());
}

TEST_F(PortListTest, AnErrorMidwayKeepsTheRowsSoFarTheButtonsOffAndRestoresThePointer)
{
    h.spooler.ports = {Port("A"), Port("B"), Port("C")};
    h.faults.failOn = "lvPorts.ListItems.Add C";

    EXPECT_THROW(Refresh(), Error);

    EXPECT_THAT(Column(0), ElementsAre(L"A", L"B"));
    EXPECT_FALSE(ButtonsEnabled());
    EXPECT_EQ(h.runtime.pointer, MousePointer::Default);
}

TEST_F(PortListTest, ParsePortInfoRefusesARecordOutsideTheBuffer)
{
    h.spooler.ports = {FakePort{std::nullopt, std::nullopt, std::nullopt, 0}};
    const SpoolerAnswer buff = SpoolerAnswer::Fetch(
        [this](std::uint8_t* buffer, std::uint32_t size, std::int32_t& bytesNeeded, std::int32_t& returned) {
            return h.spooler.EnumPortsA(buffer, size, bytesNeeded, returned);
        });
    ASSERT_EQ(buff.WholeRecords(sizeof(PortInfo2)), 1u);
    EXPECT_THROW(ports.ParsePortInfo(buff, 1), Error);
    EXPECT_THROW(ports.ParsePortInfo(buff, -1), Error);
    ports.ParsePortInfo(buff, 0);
    EXPECT_THAT(Column(3), ElementsAre(L"Unknown"));
}

}  // namespace
}  // namespace dovrel::test
