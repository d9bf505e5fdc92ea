#include <algorithm>
#include <cstdint>
#include <functional>
#include <iostream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "app/modMain.h"
#include "platform/Error.h"
#include "tests/host/Fakes.h"

// Every operation that a handler asks of the fakes fails in turn, one per
// run: the first, then the second, and so on until a run ends without
// reaching its fault. Each run starts from a fresh port window and checks
// what the user is left with.

namespace dovrel::test {
namespace {

using ::testing::IsEmpty;

const std::wstring kMonitor = L"Local Port";  // the user's answer to the prompt of "Add..."
const std::string kChosenPort = "FILE:";      // the row the user selects for "Delete..." and "Settings..."
const std::vector<std::wstring> kAllPorts = {L"COM1:", L"FILE:", L"LPT1:"};  // what a good refresh shows
const std::string kConfirmation = "MsgBox '" + kChosenPort + "\r\n\r\nDelete port?' 49";
const std::string kEnumReport = "MsgBox 'Can't enum ports.' 16";

constexpr EnumRefusal kEnumRefusals[] = {EnumRefusal::NoBytes, EnumRefusal::CountsUntouched,
                                         EnumRefusal::NegativeCounts, EnumRefusal::MoreBytesThanOffered,
                                         EnumRefusal::AbsurdRecordCount};

const char* NameOf(EnumRefusal refusal)
{
    switch (refusal) {
    case EnumRefusal::CountsUntouched: return "counters untouched";
    case EnumRefusal::NoBytes: return "no bytes";
    case EnumRefusal::NegativeCounts: return "negative counters";
    case EnumRefusal::MoreBytesThanOffered: return "more bytes than offered";
    case EnumRefusal::AbsurdRecordCount: return "absurd record count";
    }
    return "?";
}

bool IsEnumPorts(const std::string& operation) { return operation.rfind("EnumPorts", 0) == 0; }

bool IsSpoolerOperation(const std::string& operation)
{
    return IsEnumPorts(operation) || operation == "AddPort" || operation == "DeletePort" ||
           operation == "ConfigurePort";
}

// The port window as the program shows it after start-up, over fakes
// serving three ports, before the first tick of its timer.
class Scene {
public:
    Scene()
    {
        h.spooler.ports = {Port("LPT1:", 1), Port("COM1:", 3), Port("FILE:", 0)};
        modMain::Main(program_);
    }

    frmMain& Window() { return *program_.mainForm; }

    void SelectOnly(const std::string& port) { h.lvPorts.SelectOnly(std::wstring(port.begin(), port.end())); }

    bool Empty() const { return h.lvPorts.Texts().empty(); }

    Harness h;

private:
    modMain::Program program_{h.runtime, h.support, h.spooler, PortsToShow{}, nullptr};
};

// What left a handler at the dispatch boundary, where the runtime's default
// error report takes over.
struct Outcome {
    bool completed = false;
    std::optional<std::wstring> error;  // the description of a dovrel::Error
    std::string stranger;               // any other exception
};

Outcome Dispatch(const std::function<void()>& handler)
{
    Outcome outcome;
    try {
        handler();
        outcome.completed = true;
    } catch (const Error& error) {
        outcome.error = error.Description();
    } catch (const std::exception& other) {
        outcome.stranger = std::string("std::exception: ") + other.what();
    } catch (...) {
        outcome.stranger = "an exception of an unknown type";
    }
    return outcome;
}

// The one change to the spooler that the user asks for in a flow.
enum class Asks { Nothing, AddPort, DeletePort, ConfigurePort };

struct Flow {
    std::string name;
    std::function<void(Scene&)> prepare;  // runs before the plan is armed
    std::function<void(Scene&)> handler;  // the event, as the runtime delivers it
    Asks asks;
    bool refreshesOnSuccess;  // the handler rebuilds the list once its change is accepted
};

void PrintTo(const Flow& flow, std::ostream* out) { *out << flow.name; }

void FirstRefresh(Scene& s) { s.h.tmrInit.onTimer(); }

void ChoosePort(Scene& s)
{
    FirstRefresh(s);
    s.SelectOnly(kChosenPort);
}

const Flow kFlows[] = {
    {"FirstRefresh", [](Scene&) {}, [](Scene& s) { s.h.tmrInit.onTimer(); }, Asks::Nothing, false},
    {"SecondRefresh", FirstRefresh, [](Scene& s) { s.Window().RefreshPorts(); }, Asks::Nothing, false},
    {"Add",
     [](Scene& s) {
         FirstRefresh(s);
         s.h.runtime.inputAnswer = kMonitor;
     },
     [](Scene& s) { s.h.cmdAdd.onClick(); }, Asks::AddPort, true},
    {"DeleteConfirmed",
     [](Scene& s) {
         ChoosePort(s);
         s.h.runtime.msgBoxAnswer = kIdOk;
     },
     [](Scene& s) { s.h.cmdDelete.onClick(); }, Asks::DeletePort, true},
    {"DeleteCancelled",
     [](Scene& s) {
         ChoosePort(s);
         s.h.runtime.msgBoxAnswer = kIdCancel;
     },
     [](Scene& s) { s.h.cmdDelete.onClick(); }, Asks::Nothing, false},
    {"Settings", ChoosePort, [](Scene& s) { s.h.cmdSettings.onClick(); }, Asks::ConfigurePort, false},
    {"DoubleClick", ChoosePort, [](Scene& s) { s.h.lvPorts.onDblClick(); }, Asks::ConfigurePort, false},
};

// How the list must look after a run that no error ended.
enum class ListAfter { AllPorts, Empty, NoMoreThanTheOfferedBytesHold, Any };

struct Expected {
    std::vector<std::string> reports;  // the message boxes, apart from the question before a delete
    ListAfter list;
};

// What the program shows when the spooler refuses `operation`.
Expected ForRefusal(const std::string& operation, EnumRefusal refusal)
{
    if (operation == "AddPort")
        return {{"MsgBox 'Can't add port.' 48"}, ListAfter::AllPorts};
    if (operation == "DeletePort")
        return {{"MsgBox 'Can't delete port.' 48"}, ListAfter::AllPorts};
    if (operation == "ConfigurePort")
        return {{}, ListAfter::AllPorts};

    // EnumPortsA: the byte count it leaves decides, not its result.
    const bool sizeCall = operation == "EnumPorts size";
    switch (refusal) {
    case EnumRefusal::NoBytes:
    case EnumRefusal::NegativeCounts:
        return {{kEnumReport}, ListAfter::Empty};
    case EnumRefusal::MoreBytesThanOffered:  // asked again with the larger size
        return {{}, ListAfter::AllPorts};
    case EnumRefusal::CountsUntouched:  // the size call leaves 0 bytes; the data call the offered size and 0 records
        return sizeCall ? Expected{{kEnumReport}, ListAfter::Empty} : Expected{{}, ListAfter::Empty};
    case EnumRefusal::AbsurdRecordCount:  // the size call offers 0 bytes
        return sizeCall ? Expected{{kEnumReport}, ListAfter::Empty}
                        : Expected{{}, ListAfter::NoMoreThanTheOfferedBytesHold};
    }
    return {};
}

struct Buttons {
    bool deleteEnabled;
    bool settingsEnabled;
};

Buttons ButtonsOf(const Scene& s) { return {s.h.cmdDelete.enabled, s.h.cmdSettings.enabled}; }

// Every message box after arming, apart from the question before a delete.
std::vector<std::string> Reports(const EventLog& log)
{
    std::vector<std::string> reports;
    for (const auto& entry : EntriesStartingWith(log, "MsgBox"))
        if (entry != kConfirmation)
            reports.push_back(entry);
    return reports;
}

bool Failed(const EventLog& log, EventLog::const_iterator entry, const std::string& operation)
{
    return entry + 1 != log.end() && *(entry + 1) == "fault: " + operation;
}

// The spooler is changed only as the user asked: the port they chose, the
// monitor they typed, once, and a delete only after they confirmed it.
void CheckSpoolerChanges(const Flow& flow, const EventLog& log)
{
    const auto adds = EntriesStartingWith(log, "AddPort");
    const auto deletes = EntriesStartingWith(log, "DeletePort");
    const auto configures = EntriesStartingWith(log, "ConfigurePort");
    EXPECT_LE(adds.size(), flow.asks == Asks::AddPort ? 1u : 0u) << "AddPortA that the user did not ask for";
    EXPECT_LE(deletes.size(), flow.asks == Asks::DeletePort ? 1u : 0u) << "DeletePortW that the user did not ask for";
    EXPECT_LE(configures.size(), flow.asks == Asks::ConfigurePort ? 1u : 0u)
        << "ConfigurePortW that the user did not ask for";
    for (const auto& entry : adds)
        EXPECT_EQ(entry, "AddPort 0x1000 '" + Utf8(kMonitor) + "'");
    for (const auto& entry : deletes)
        EXPECT_EQ(entry, "DeletePort 0x1000 '" + kChosenPort + "'");
    for (const auto& entry : configures)
        EXPECT_EQ(entry, "ConfigurePort 0x1000 '" + kChosenPort + "'");

    const auto deleted = std::find_if(log.begin(), log.end(), [](const auto& e) { return e.rfind("DeletePort", 0) == 0; });
    if (deleted != log.end()) {
        const auto asked = std::find(log.begin(), deleted, kConfirmation);
        EXPECT_NE(asked, deleted) << "DeletePortW without the question";
        EXPECT_FALSE(asked != deleted && Failed(log, asked, "MsgBox")) << "DeletePortW after the question failed";
    }
    const auto added = std::find_if(log.begin(), log.end(), [](const auto& e) { return e.rfind("AddPort", 0) == 0; });
    if (added != log.end()) {
        const auto prompted = std::find_if(log.begin(), added, [](const auto& e) { return e.rfind("InputBox", 0) == 0; });
        EXPECT_FALSE(prompted == added || Failed(log, prompted, "InputBox")) << "AddPortA without the user's answer";
    }
}

// A refresh belongs to a handler of a change only once the spooler accepted it.
void CheckRefreshFollowsOnlyAnAcceptedChange(const Flow& flow, const EventLog& log, const std::string& failed)
{
    const bool changed = !EntriesStartingWith(log, "AddPort").empty() || !EntriesStartingWith(log, "DeletePort").empty();
    const bool accepted = changed && failed != "AddPort" && failed != "DeletePort";
    if (flow.refreshesOnSuccess && !accepted) {
        EXPECT_THAT(EntriesStartingWith(log, "EnumPorts"), IsEmpty()) << "a refresh without an accepted change";
    }
    if (!flow.refreshesOnSuccess && flow.asks != Asks::Nothing) {
        EXPECT_THAT(EntriesStartingWith(log, "EnumPorts"), IsEmpty()) << "configuring never refreshes";
    }
}

void CheckList(const Scene& s, ListAfter list)
{
    const auto rows = s.h.lvPorts.Texts();
    switch (list) {
    case ListAfter::AllPorts:
        EXPECT_EQ(s.h.lvPorts.Texts(), kAllPorts);
        EXPECT_TRUE(s.h.cmdDelete.enabled && s.h.cmdSettings.enabled) << "buttons off over a full list";
        break;
    case ListAfter::Empty:
        EXPECT_THAT(rows, IsEmpty());
        EXPECT_FALSE(s.h.cmdDelete.enabled || s.h.cmdSettings.enabled) << "buttons on over an empty list";
        break;
    case ListAfter::NoMoreThanTheOfferedBytesHold:
        EXPECT_LE(rows.size(), s.h.spooler.BytesNeeded() / sizeof(PortInfo2));
        break;
    case ListAfter::Any:
        break;
    }
}

// After the fault, the same window refreshes as if nothing had happened.
void CheckStillWorks(Scene& s)
{
    const Outcome again = Dispatch([&] { s.Window().RefreshPorts(); });
    EXPECT_TRUE(again.completed) << "a refresh without a fault failed afterwards";
    EXPECT_EQ(s.h.lvPorts.Texts(), kAllPorts) << "afterwards";
    EXPECT_EQ(s.h.lvPorts.SelectedPositions(), std::vector<std::int32_t>{1}) << "afterwards";
    EXPECT_TRUE(s.h.cmdDelete.enabled && s.h.cmdSettings.enabled) << "afterwards";
    EXPECT_TRUE(s.h.runtime.pointer == MousePointer::Default) << "afterwards";
}

// Runs the flow with its n-th operation failing; returns that operation, or
// the empty text when the run ended before reaching it.
std::string RunWithFault(const Flow& flow, int n, EnumRefusal refusal)
{
    Scene s;
    flow.prepare(s);
    const Buttons before = ButtonsOf(s);
    const bool emptyBefore = s.Empty();
    s.h.log.clear();
    s.h.faults.enumRefusal = refusal;
    s.h.faults.Arm(n);
    const Outcome outcome = Dispatch([&] { flow.handler(s); });
    s.h.faults.Disarm();
    const std::string failed = s.h.faults.Failed();
    const EventLog log = s.h.log;

    SCOPED_TRACE(flow.name + ", N = " + std::to_string(n) + ", " +
                 (failed.empty() ? std::string("fault not reached")
                                 : "failing operation: " + failed +
                                       (IsEnumPorts(failed) ? std::string(" (") + NameOf(refusal) + ")" : "")));

    // Only a dovrel::Error reaches the error report, and only one that the
    // list, the runtime or the support library raised; a refused spooler
    // call is the program's own to report.
    EXPECT_EQ(outcome.stranger, "") << "only a dovrel::Error may leave a handler";
    const bool raised = !failed.empty() && !IsSpoolerOperation(failed);
    if (raised) {
        EXPECT_TRUE(outcome.error.has_value()) << "the error did not reach the error report";
        if (outcome.error) {
            EXPECT_EQ(Utf8(*outcome.error), Utf8(InjectedFailure(failed))) << "another error than the one raised";
        }
    } else {
        EXPECT_TRUE(outcome.completed) << "the handler did not end normally: "
                                       << (outcome.error ? Utf8(*outcome.error) : outcome.stranger);
    }

    const Expected expected = raised           ? Expected{{}, ListAfter::Any}
                              : failed.empty() ? Expected{{}, ListAfter::AllPorts}
                                               : ForRefusal(failed, refusal);
    EXPECT_EQ(Reports(log), expected.reports);
    CheckList(s, expected.list);

    EXPECT_TRUE(s.h.runtime.pointer == MousePointer::Default) << "the pointer stayed an hourglass";
    if (s.Empty()) {
        EXPECT_FALSE(s.h.cmdDelete.enabled && !(emptyBefore && before.deleteEnabled))
            << "Delete... left enabled over an empty list";
        EXPECT_FALSE(s.h.cmdSettings.enabled && !(emptyBefore && before.settingsEnabled))
            << "Settings... left enabled over an empty list";
    }
    CheckSpoolerChanges(flow, log);
    CheckRefreshFollowsOnlyAnAcceptedChange(flow, log, failed);
    CheckStillWorks(s);
    return failed;
}

class FaultInjectionTest : public ::testing::TestWithParam<Flow> {};

TEST_P(FaultInjectionTest, EachOperationFailingInTurnEndsInADocumentedOutcome)
{
    const Flow& flow = GetParam();
    constexpr int kMaxOperations = 1000;  // far more than any of these handlers asks for
    int runs = 0;
    int operations = 0;
    int enumCalls = 0;
    bool ended = false;
    for (int n = 1; n <= kMaxOperations && !ended && !HasFailure(); ++n) {
        for (EnumRefusal refusal : kEnumRefusals) {
            ++runs;
            const std::string failed = RunWithFault(flow, n, refusal);
            if (failed.empty()) {
                ended = true;
                break;
            }
            if (refusal == kEnumRefusals[0]) {
                ++operations;
                enumCalls += IsEnumPorts(failed) ? 1 : 0;
            }
            if (!IsEnumPorts(failed))  // only EnumPortsA fails in more than one way
                break;
        }
    }
    EXPECT_TRUE(ended || HasFailure()) << "still reaching faults after " << kMaxOperations << " operations";

    RecordProperty("runs", runs);
    std::cout << "[ faults   ] " << flow.name << ": " << runs << " runs = operations 1 to " << operations
              << " failing in turn + " << enumCalls * (std::size(kEnumRefusals) - 1)
              << " further refusals of its " << enumCalls << " EnumPortsA calls"
              << (ended ? " + 1 run ending before its fault" : ", stopped at the first failing run") << "\n";
}

INSTANTIATE_TEST_SUITE_P(Handlers, FaultInjectionTest, ::testing::ValuesIn(kFlows),
                         [](const ::testing::TestParamInfo<Flow>& info) { return info.param.name; });

}  // namespace
}  // namespace dovrel::test
