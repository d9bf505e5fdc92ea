#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "listview/modListViewSupport.h"
#include "platform/win32/form/Win32FormsRuntime.h"
#include "platform/win32/controls/Win32ListView.h"
#include "platform/win32/spooler/Win32Spooler.h"
#include "platform/win32/system/Win32SupportLibrary.h"
#include "ports/PortList.h"
#include "tests/win32/TestWindow.h"

namespace dovrel::test {
namespace {

constexpr char kPortsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

class StubButton final : public CommandButton {
public:
    WindowHandle hWnd() const override { return 0; }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool value) override { enabled = value; }
    float Left() const override { return 0; }
    void SetLeft(float) override {}
    float Top() const override { return 0; }
    float Width() const override { return 0; }
    float Height() const override { return 0; }
    bool enabled = false;
};

struct Row {
    std::string name, monitor, description, type;
    bool operator==(const Row& other) const
    {
        return name == other.name && monitor == other.monitor && description == other.description &&
               type == other.type;
    }
};

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

std::string TypeText(DWORD type)
{
    std::string text;
    const char* pieces[] = {"Write, ", "Read, ", "Redirected, ", "Net attached, "};
    for (int bit = 0; bit < 4; ++bit)
        if (type & (1u << bit))
            text += pieces[bit];
    if (text.size() >= 2)
        text.resize(text.size() - 2);
    return text.empty() ? "Unknown" : text;
}

// What the spooler reports, asked directly, in the order a user expects.
std::vector<Row> SpoolerPorts()
{
    DWORD needed = 0, count = 0;
    EnumPortsA(nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    EXPECT_TRUE(EnumPortsA(nullptr, 2, buffer.data(), needed, &needed, &count));
    const auto* records = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
    std::vector<Row> rows;
    for (DWORD i = 0; i < count; ++i)
        rows.push_back(Row{records[i].pPortName, records[i].pMonitorName ? records[i].pMonitorName : "",
                           records[i].pDescription ? records[i].pDescription : "", TypeText(records[i].fPortType)});
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.name.c_str(), -1, b.name.c_str(), -1) ==
               CSTR_LESS_THAN;
    });
    return rows;
}

class SpoolerPortListTest : public ::testing::Test {
protected:
    SpoolerPortListTest() : runtime(L"Orvane - Dovrel"), support(runtime)
    {
        for (const wchar_t* title : {L"Name", L"Monitor", L"Description", L"Type"})
            list.ColumnHeaders().Add(title);
    }
    ~SpoolerPortListTest() override
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            for (const auto& name : seeded)
                RegDeleteValueA(key, name.c_str());
            RegCloseKey(key);
        }
    }

    void SeedPorts(const std::vector<std::string>& names)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
        for (const auto& name : names) {
            ASSERT_EQ(RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1), ERROR_SUCCESS);
            seeded.push_back(name);
        }
        RegCloseKey(key);
    }

    std::vector<Row> Shown()
    {
        std::vector<Row> rows;
        for (std::int32_t i = 1; i <= list.ListItems().Count(); ++i) {
            auto item = list.ListItems().Item(i);
            rows.push_back(Row{Narrow(item->Text()), Narrow(item->SubItem(1)), Narrow(item->SubItem(2)),
                               Narrow(item->SubItem(3))});
        }
        return rows;
    }

    TestWindow window;
    win32::Win32ListView list{window.Handle(), 100, RECT{0, 0, 600, 300}};
    win32::Win32FormsRuntime runtime;
    win32::Win32SupportLibrary support;
    win32::Win32Spooler spooler;
    StubButton cmdDelete, cmdSettings;
    PortList ports{list, runtime, support, spooler,
                   [this](bool holdsRows) { cmdDelete.enabled = cmdSettings.enabled = holdsRows; }};
    std::vector<std::string> seeded;
};

TEST_F(SpoolerPortListTest, TheListShowsWhatTheSpoolerReportsSortedByName)
{
    ports.RefreshPorts();

    const auto expected = SpoolerPorts();
    ASSERT_GE(expected.size(), 8u) << "a fresh prefix has COM1: to COM4:, FILE: and LPT1: to LPT3:";
    EXPECT_EQ(Shown(), expected);
    EXPECT_TRUE(cmdDelete.enabled && cmdSettings.enabled);
    ASSERT_NE(list.SelectedItem(), nullptr);
    EXPECT_EQ(list.SelectedItem()->Text(), list.ListItems().Item(1)->Text());
    EXPECT_EQ(runtime.ScreenMousePointer(), MousePointer::Default);
}

TEST_F(SpoolerPortListTest, ManySeededPortsAllArriveInOrderAlsoFromTheFirstAnswerFetchedAtTheStart)
{
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i)
        names.push_back((i % 2 ? "c:\\dovrel\\Seed" : "C:\\DOVREL\\seed") + std::to_string(i * 37 % 300) + ".prn");
    SeedPorts(names);

    // The first refresh takes the answer fetched on the thread, the next
    // asks the spooler: both show every port as the spooler has it.
    spooler.StartFirstEnumeration();
    ports.RefreshPorts();
    const auto expected = SpoolerPorts();
    EXPECT_EQ(Shown(), expected);
    EXPECT_GE(list.ListItems().Count(), 308);
    ports.RefreshPorts();
    EXPECT_EQ(Shown(), expected);
}

}  // namespace
}  // namespace dovrel::test

namespace dovrel::test {
namespace {

bool SpoolerHasPort(const std::string& name)
{
    for (const auto& row : SpoolerPorts())
        if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, row.name.c_str(), -1, name.c_str(), -1) == CSTR_EQUAL)
            return true;
    return false;
}

// The "Local Port" monitor's own dialog, driven as a user would, twice: the
// second add after a delete is where a monitor name spelt unlike the
// spooler's ("Local port") used to crash Wine's spooler.
TEST(SpoolerCommandsTest, AFilePortIsAddedThroughTheMonitorAndDeletedAgain)
{
    TestWindow owner;
    win32::Win32Spooler spooler;
    const std::string portName = "C:\\windows\\temp\\dovrel-spooler-test.prn";
    const std::wstring widePortName(portName.begin(), portName.end());
    // A run that ended half-way may have left the port behind.
    spooler.DeletePortW(reinterpret_cast<WindowHandle>(owner.Handle()), widePortName);
    ASSERT_FALSE(SpoolerHasPort(portName));

    for (int round = 1; round <= 2; ++round) {
        std::thread typist([&] {
            HWND dialog = WaitForDialog(L"Add a Local Port", L"Edit");
            if (!dialog)
                return;
            SetDlgItemTextA(dialog, 101, portName.c_str());
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        const bool added = spooler.AddPortA(reinterpret_cast<WindowHandle>(owner.Handle()), L"Local port").done;
        typist.join();
        ASSERT_TRUE(added) << "round " << round;
        EXPECT_TRUE(SpoolerHasPort(portName)) << "round " << round;

        EXPECT_TRUE(spooler.DeletePortW(reinterpret_cast<WindowHandle>(owner.Handle()), widePortName).done);
        EXPECT_FALSE(SpoolerHasPort(portName)) << "round " << round;
    }
}

// Each refusal comes with the spooler's reason.
TEST(SpoolerCommandsTest, UnknownMonitorsAndPortsAreRefused)
{
    TestWindow owner;
    win32::Win32Spooler spooler;
    const auto window = reinterpret_cast<WindowHandle>(owner.Handle());
    const auto reason = [](SpoolerResult result) { return result.done ? DWORD{0} : DWORD{result.error}; };
    EXPECT_EQ(reason(spooler.AddPortA(window, L"No Such Monitor")), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(reason(spooler.AddPortA(window, L" Local Port")), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(reason(spooler.DeletePortW(window, L"NOPORT99:")), static_cast<DWORD>(ERROR_UNKNOWN_PORT));
    EXPECT_EQ(reason(spooler.ConfigurePortW(window, L"NOPORT99:")), static_cast<DWORD>(ERROR_UNKNOWN_PORT));
    EXPECT_THAT(spooler.PrintersUsingPort(L"LPT1:"), testing::IsEmpty());  // a fresh prefix has no printers
}

}  // namespace
}  // namespace dovrel::test
