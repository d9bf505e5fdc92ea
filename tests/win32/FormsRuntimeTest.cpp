#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/win32/Win32Forms.h"
#include "tests/win32/TestWindow.h"

namespace dovrel::test {
namespace {

using ::testing::ElementsAre;
using win32::Win32Forms;

HWND Child(HWND parent, const wchar_t* className, const wchar_t* caption)
{
    return FindWindowExW(parent, nullptr, className, caption);
}

RECT RectInClient(HWND parent, HWND control)
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class FormsRuntimeTest : public ::testing::Test {
protected:
    FormsRuntimeTest() : runtime(L"Orvane - Dovrel")
    {
        runtime.InitCommonControls();
        controls = std::make_unique<MainFormControls>(runtime.CreateMainForm());
        window = runtime.MainFormWindow();
    }

    HWND Button(const wchar_t* caption) const { return Child(window, WC_BUTTONW, caption); }
    HWND List() const { return Child(window, WC_LISTVIEWW, nullptr); }

    Win32Forms runtime;
    std::unique_ptr<MainFormControls> controls;
    HWND window = nullptr;
};

TEST_F(FormsRuntimeTest, TheWindowHasItsCaptionFrameAndDesignGeometry)
{
    ASSERT_NE(window, nullptr);
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(caption, L"Ports");
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    // Set when another test runs this one at another resolution.
    wchar_t expected[16] = {};
    if (GetEnvironmentVariableW(L"DOVREL_TEST_EXPECTED_DPI", expected, 16)) {
        ASSERT_EQ(dpi, _wtoi(expected));
    }
    auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };

    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, px(5475));
    EXPECT_EQ(client.bottom, px(2355));
    EXPECT_NEAR(controls->form.ScaleWidth(), 5475, 15);
    EXPECT_NEAR(controls->form.ScaleHeight(), 2355, 15);

    const RECT list = RectInClient(window, List());
    EXPECT_EQ(list.left, px(120));
    EXPECT_EQ(list.top, px(120));
    EXPECT_EQ(list.right - list.left, px(3795));
    EXPECT_EQ(list.bottom - list.top, px(2115));

    const std::pair<const wchar_t*, int> buttons[] = {
        {L"Cancel", 120}, {L"Settings...", 540}, {L"Add...", 960}, {L"Delete...", 1380}, {L"Help", 1800}};
    for (const auto& [caption, top] : buttons) {
        HWND button = Button(caption);
        ASSERT_NE(button, nullptr) << caption;
        const RECT rect = RectInClient(window, button);
        EXPECT_EQ(rect.left, px(4020)) << caption;
        EXPECT_EQ(rect.top, px(top)) << caption;
        EXPECT_EQ(rect.right - rect.left, px(1335)) << caption;
        EXPECT_EQ(rect.bottom - rect.top, px(375)) << caption;
    }
    EXPECT_EQ(controls->cmdAdd.Left(), 4020);
    EXPECT_EQ(controls->tmrInit.Interval(), 1);
    EXPECT_TRUE(controls->tmrInit.Enabled());
}

// The same window at 120 dots per inch has the same size in inches: the
// geometry test runs again in a process that starts with that resolution.
TEST(FormsRuntimeDpiTest, TheWindowKeepsItsPhysicalSizeAtAnotherResolution)
{
    const wchar_t* desktopKey = L"Control Panel\\Desktop";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, desktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    DWORD previous = 0, size = sizeof previous;
    const bool hadValue =
        RegQueryValueExW(key, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&previous), &size) == ERROR_SUCCESS;
    const DWORD dpi = 120;
    ASSERT_EQ(RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi),
              ERROR_SUCCESS);

    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = std::wstring(L"\"") + program +
                               L"\" --gtest_filter=FormsRuntimeTest.TheWindowHasItsCaptionFrameAndDesignGeometry";
    SetEnvironmentVariableW(L"DOVREL_TEST_EXPECTED_DPI", L"120");
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    const BOOL started = CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &child);
    SetEnvironmentVariableW(L"DOVREL_TEST_EXPECTED_DPI", nullptr);
    DWORD exitCode = 99;
    if (started) {
        WaitForSingleObject(child.hProcess, 60000);
        GetExitCodeProcess(child.hProcess, &exitCode);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    if (hadValue)
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous), sizeof previous);
    else
        RegDeleteValueW(key, L"LogPixels");
    RegCloseKey(key);

    ASSERT_TRUE(started);
    EXPECT_EQ(exitCode, 0u) << "the window's geometry is wrong at 120 dots per inch";
}

TEST_F(FormsRuntimeTest, TabMovesFromTheListDownTheButtonsFromCancel)
{
    std::vector<HWND> order;
    HWND control = List();
    for (int i = 0; i < 6; ++i) {
        order.push_back(control);
        control = GetNextDlgTabItem(window, control, FALSE);
    }
    EXPECT_THAT(order, ElementsAre(List(), Button(L"Cancel"), Button(L"Settings..."), Button(L"Add..."),
                                   Button(L"Delete..."), Button(L"Help")));
    EXPECT_EQ(control, List());
}

TEST_F(FormsRuntimeTest, LoadingRunsOnShowAndTheTimerTicksAfterwards)
{
    std::vector<std::string> events;
    controls->form.onLoad = [&] {
        events.push_back(IsWindowVisible(window) ? "load while visible" : "load while hidden");
    };
    controls->tmrInit.onTimer = [&] {
        events.push_back("tick");
        controls->tmrInit.SetEnabled(false);
    };
    controls->form.Show();
    EXPECT_TRUE(IsWindowVisible(window));
    for (int i = 0; i < 20; ++i) {
        PumpMessages();
        Sleep(10);
    }
    EXPECT_THAT(events, ElementsAre("load while hidden", "tick"));
    EXPECT_FALSE(controls->tmrInit.Enabled());
}

TEST_F(FormsRuntimeTest, ButtonClicksReachTheirHandlersAndEscPressesCancel)
{
    std::vector<std::string> clicks;
    controls->cmdAdd.onClick = [&] { clicks.push_back("add"); };
    controls->cmdCancel.onClick = [&] { clicks.push_back("cancel"); };
    controls->form.Show();

    SendMessageW(Button(L"Add..."), BM_CLICK, 0, 0);
    // Esc as the dialog manager delivers it.
    MSG escape = {List(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    IsDialogMessageW(window, &escape);
    PumpMessages();

    controls->cmdAdd.SetEnabled(false);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(103, BN_CLICKED), reinterpret_cast<LPARAM>(Button(L"Add...")));
    EXPECT_FALSE(controls->cmdAdd.Enabled());
    EXPECT_THAT(clicks, ElementsAre("add", "cancel"));
}

TEST_F(FormsRuntimeTest, AnErrorInAHandlerIsReportedAndTheWindowLivesOn)
{
    controls->cmdHelp.onClick = [] { throw Error(kErrSystem, L"Something went wrong."); };
    controls->form.Show();

    // Close the report box once it appears: 0 closed with the right text,
    // 1 no box appeared, 2 it showed another text.
    int result = 1;
    std::thread closer([&result] {
        for (int i = 0; i < 300; ++i) {
            HWND box = FindWindowW(L"#32770", L"Orvane - Dovrel");
            if (box && IsWindowVisible(box)) {
                wchar_t text[128] = {};
                GetDlgItemTextW(box, 0xFFFF, text, 128);
                result = std::wstring(text) == L"Something went wrong." ? 0 : 2;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(20);
        }
    });
    SendMessageW(Button(L"Help"), BM_CLICK, 0, 0);
    closer.join();
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(FormsRuntimeTest, UnloadRunsTheHandlerOnceAndEndsTheLoop)
{
    int unloads = 0;
    controls->form.onUnload = [&](std::int16_t&) { ++unloads; };
    controls->form.Show();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(runtime.Run(), 0);
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(IsWindow(window));
    controls->form.Unload();
    EXPECT_EQ(unloads, 1);
}

TEST_F(FormsRuntimeTest, TheHourglassShowsOverTheWindowWhileSet)
{
    controls->form.Show();
    runtime.SetScreenMousePointer(MousePointer::Hourglass);
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(List()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    runtime.SetScreenMousePointer(MousePointer::Default);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(FormsRuntimeTest, ThePromptReturnsTheEnteredTextWholeOrNothingOnCancel)
{
    controls->form.Show();
    const std::wstring longName(5000, L'x');
    std::wstring seenDefault;
    DWORD selectionEnd = 0;
    std::thread typist([&] {
        HWND prompt = WaitForDialog(L"Orvane - Dovrel", L"Edit");
        if (!prompt)
            return;
        HWND edit = FindWindowExW(prompt, nullptr, L"Edit", nullptr);
        wchar_t text[64] = {};
        GetWindowTextW(edit, text, 64);
        seenDefault = text;
        SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selectionEnd));
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((L"  " + longName).c_str()));
        PostMessageW(prompt, WM_COMMAND, IDOK, 0);
    });
    const std::wstring entered = runtime.InputBox(L"Input monitor name.", L"Local port");
    typist.join();
    EXPECT_EQ(seenDefault, L"Local port");
    EXPECT_EQ(selectionEnd, 10u) << "the default text is selected";
    EXPECT_EQ(entered, L"  " + longName);

    std::thread canceller([] {
        if (HWND prompt = WaitForDialog(L"Orvane - Dovrel", L"Edit"))
            PostMessageW(prompt, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(runtime.InputBox(L"Input monitor name.", L"Local port"), L"");
    canceller.join();
}

TEST_F(FormsRuntimeTest, TheMessageBoxCarriesTheTitleAndReturnsTheAnswer)
{
    controls->form.Show();
    std::wstring owner;
    std::thread answerer([&] {
        HWND box = WaitForDialog(L"Orvane - Dovrel", L"Button");
        if (!box)
            return;
        wchar_t caption[64] = {};
        GetWindowTextW(GetWindow(box, GW_OWNER), caption, 64);
        owner = caption;
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(runtime.MsgBox(L"LPT1:\r\n\r\nDelete port?", kMbOkCancel | kMbIconExclamation), kIdCancel);
    answerer.join();
    EXPECT_EQ(owner, L"Ports");
}

}  // namespace
}  // namespace dovrel::test
