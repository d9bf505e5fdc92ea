#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/frmMainDesign.h"
#include "platform/Error.h"
#include "platform/win32/form/CallbackGuard.h"
#include "platform/win32/form/Win32FormsRuntime.h"
#include "platform/win32/form/Window.h"
#include "tests/win32/TestWindow.h"

namespace dovrel::test {
namespace {

using ::testing::ElementsAre;
using win32::Win32FormsRuntime;

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

FormControls& MadeForm(Win32FormsRuntime& runtime)
{
    runtime.InitCommonControls();
    return runtime.CreateForm(frmMainDesign());
}

class FormsRuntimeTest : public ::testing::Test {
protected:
    HWND Button(const wchar_t* caption) const { return Child(window, WC_BUTTONW, caption); }
    HWND List() const { return Child(window, WC_LISTVIEWW, nullptr); }

    Win32FormsRuntime runtime{L"Orvane - Dovrel"};
    FormControls& controls = MadeForm(runtime);
    Form& form = controls.TheForm();
    Timer& tmrInit = controls.TimerNamed("tmrInit");
    CommandButton& cmdAdd = controls.Button("cmdAdd");
    CommandButton& cmdCancel = controls.Button("cmdCancel");
    CommandButton& cmdDelete = controls.Button("cmdDelete");
    CommandButton& cmdHelp = controls.Button("cmdHelp");
    HWND window = win32::ToHwnd(form.hWnd());
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
    EXPECT_NEAR(form.ScaleWidth(), 5475, 15);
    EXPECT_NEAR(form.ScaleHeight(), 2355, 15);

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
    EXPECT_EQ(cmdAdd.Left(), 4020);
    EXPECT_EQ(tmrInit.Interval(), 1);
    EXPECT_TRUE(tmrInit.Enabled());
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

// As in a dialog: the focused button is the default push button, and a
// focused button that is disabled hands the focus on in tab order.
TEST_F(FormsRuntimeTest, TheFocusStaysOnAControlAndMarksTheButtonThatEnterPresses)
{
    form.Show();
    auto defaults = [this] {
        std::vector<std::wstring> shown;
        for (const wchar_t* caption : {L"Cancel", L"Settings...", L"Add...", L"Delete...", L"Help"})
            if ((GetWindowLongPtrW(Button(caption), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                shown.push_back(caption);
        return shown;
    };
    EXPECT_EQ(GetFocus(), List());
    EXPECT_THAT(defaults(), ElementsAre());
    // The dialog manager's own bookkeeping of the default button as Tab moves on.
    MSG tab = {List(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    IsDialogMessageW(window, &tab);
    EXPECT_EQ(GetFocus(), Button(L"Cancel"));
    EXPECT_THAT(defaults(), ElementsAre(L"Cancel"));
    tab.hwnd = Button(L"Cancel");
    IsDialogMessageW(window, &tab);
    EXPECT_THAT(defaults(), ElementsAre(L"Settings..."));

    SetFocus(Button(L"Delete..."));
    EXPECT_THAT(defaults(), ElementsAre(L"Delete..."));
    cmdDelete.SetEnabled(false);
    EXPECT_EQ(GetFocus(), Button(L"Help"));
    EXPECT_THAT(defaults(), ElementsAre(L"Help"));

    std::vector<std::string> clicks;
    cmdHelp.onClick = [&] { clicks.push_back("help"); };
    MSG enter = {Button(L"Help"), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    IsDialogMessageW(window, &enter);
    EXPECT_THAT(clicks, ElementsAre("help"));

    SetFocus(List());
    EXPECT_THAT(defaults(), ElementsAre());
    enter.hwnd = List();
    IsDialogMessageW(window, &enter);
    EXPECT_THAT(clicks, ElementsAre("help")) << "Enter in the list presses nothing";
}

TEST_F(FormsRuntimeTest, LoadingRunsOnShowAndTheTimerTicksAfterwards)
{
    std::vector<std::string> events;
    form.onLoad = [&] {
        events.push_back(IsWindowVisible(window) ? "load while visible" : "load while hidden");
    };
    tmrInit.onTimer = [&] {
        events.push_back("tick");
        tmrInit.SetEnabled(false);
    };
    form.Show();
    EXPECT_TRUE(IsWindowVisible(window));
    PumpUntil([&] { return events.size() >= 2; });
    EXPECT_THAT(events, ElementsAre("load while hidden", "tick"));
    EXPECT_FALSE(tmrInit.Enabled());
}

TEST_F(FormsRuntimeTest, ButtonClicksReachTheirHandlersAndEscPressesCancel)
{
    std::vector<std::string> clicks;
    cmdAdd.onClick = [&] { clicks.push_back("add"); };
    cmdCancel.onClick = [&] { clicks.push_back("cancel"); };
    form.Show();

    SendMessageW(Button(L"Add..."), BM_CLICK, 0, 0);
    // Esc as the dialog manager delivers it.
    MSG escape = {List(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    IsDialogMessageW(window, &escape);
    PumpMessages();
    // The second press of a double click clicks again; news of the focus
    // does not click.
    const auto add = reinterpret_cast<LPARAM>(Button(L"Add..."));
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(103, BN_DOUBLECLICKED), add);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(103, BN_SETFOCUS), add);

    cmdAdd.SetEnabled(false);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(103, BN_CLICKED), add);
    EXPECT_FALSE(cmdAdd.Enabled());
    EXPECT_THAT(clicks, ElementsAre("add", "cancel", "add"));
}

// Closes the error report once it shows; its text, or "<none>" when no
// report came within the time.
class ReportCloser {
public:
    // onShown runs on the closer's thread while the report is open.
    explicit ReportCloser(std::function<void()> onShown = {}, int waitMs = 6000)
        : onShown_(std::move(onShown)), thread_([this, waitMs] {
        for (int waited = 0; waited < waitMs; waited += 20) {
            HWND box = FindWindowW(L"#32770", L"Orvane - Dovrel");
            if (box && IsWindowVisible(box) && FindWindowExW(box, nullptr, L"Button", nullptr)) {
                wchar_t text[128] = {};
                GetDlgItemTextW(box, 0xFFFF, text, 128);
                seen_ = text;
                if (onShown_)
                    onShown_();
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(20);
        }
    }) {}
    std::wstring Text()
    {
        thread_.join();
        return seen_;
    }
private:
    std::function<void()> onShown_;
    std::wstring seen_ = L"<none>";
    std::thread thread_;
};

// Whatever a handler throws stops at the window procedure, in the report.
TEST_F(FormsRuntimeTest, AnyErrorInAHandlerIsReportedAndTheWindowLivesOn)
{
    form.Show();
    const std::vector<std::pair<std::function<void()>, std::wstring>> errors = {
        {[] { throw Error(kErrSystem, L"Something went wrong."); }, L"Something went wrong."},
        {[] { throw std::bad_alloc(); }, L"std::bad_alloc"},
        {[] { throw 42; }, L"An unexpected error occurred."},
    };
    for (const auto& [thrower, text] : errors) {
        cmdHelp.onClick = thrower;
        ReportCloser closer;
        SendMessageW(Button(L"Help"), BM_CLICK, 0, 0);
        EXPECT_EQ(closer.Text(), text);
        EXPECT_TRUE(IsWindow(window));
    }
}

// The same guard stands in every window procedure of the program's own.
TEST(WindowGuardTest, AWindowProcedureThatThrowsAnswersFailedAndReports)
{
    class Throwing final : public win32::MessageHandler {
        LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_APP)
                throw std::bad_alloc();
            return DefWindowProcW(window, message, wParam, lParam);
        }
    } handler;
    const win32::Win32FormsRuntime runtime(L"Orvane - Dovrel");  // the report's title
    const win32::Window window(L"DovrelThrowingWindow", nullptr, 0, L"", WS_POPUP, RECT{0, 0, 10, 10}, handler);
    ReportCloser closer;
    EXPECT_EQ(SendMessageW(window.hWnd(), WM_APP, 0, 0), 0);
    EXPECT_EQ(closer.Text(), L"std::bad_alloc");
}

// An error report shown by the Load handler runs a modal loop: neither the
// timer nor a close may reach a form that has not finished loading.
TEST_F(FormsRuntimeTest, NoEventReachesTheFormWhileItLoads)
{
    std::vector<std::string> events;
    form.onLoad = [] { throw Error(kErrSystem, L"Load failed."); };
    form.onUnload = [&](std::int16_t&) { events.push_back("unload"); };
    tmrInit.onTimer = [&] {
        events.push_back(IsWindowVisible(window) ? "tick while shown" : "tick while hidden");
        tmrInit.SetEnabled(false);
    };
    TimerWitness witness;
    ReportCloser closer([&] {
        PostMessageW(window, WM_CLOSE, 0, 0);
        SendMessageW(Button(L"Add..."), BM_CLICK, 0, 0);
        EXPECT_TRUE(witness.WaitForTwoMoreTicks()) << "the report's message loop runs timers";
    });
    cmdAdd.onClick = [&] { events.push_back("click"); };
    form.Show();
    EXPECT_EQ(closer.Text(), L"Load failed.");
    PumpUntil([&] { return !events.empty(); });
    EXPECT_THAT(events, ElementsAre("tick while shown"));
    EXPECT_TRUE(IsWindow(window));
}

// Handlers run one at a time: a tick that comes while a handler waits in a
// message box is held, and comes once the handler has returned.
TEST_F(FormsRuntimeTest, ATickDuringAModalBoxWaitsForItsHandlerToReturn)
{
    std::vector<std::string> events;
    tmrInit.onTimer = [&] {
        events.push_back("tick");
        tmrInit.SetEnabled(false);
    };
    cmdHelp.onClick = [&] {
        events.push_back("box");
        runtime.MsgBox(L"Wait.", MB_OK);
        events.push_back("box closed");
    };
    form.Show();  // the 1 ms timer runs from here
    TimerWitness witness;
    ReportCloser closer([&] { EXPECT_TRUE(witness.WaitForTwoMoreTicks()) << "the box's message loop runs timers"; });
    SendMessageW(Button(L"Help"), BM_CLICK, 0, 0);
    EXPECT_EQ(closer.Text(), L"Wait.");
    PumpMessages();
    EXPECT_THAT(events, ElementsAre("box", "box closed", "tick"));
}

// The message loop waits on kernel objects beside the messages.
TEST_F(FormsRuntimeTest, ASignalledWaitRunsItsHandlerFromTheMessageLoop)
{
    win32::UniqueKernelHandle event(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    int signals = 0;
    runtime.AddWait(event.Get(), [&] {
        ResetEvent(event.Get());
        if (++signals == 2)
            form.Unload();
        else
            SetEvent(event.Get());
    });
    form.Show();
    EXPECT_EQ(runtime.Run(), 0);
    EXPECT_EQ(signals, 2);
    runtime.RemoveWait(event.Get());
}

// A control that cannot be made after the window exists: the window goes
// with the half-made form, and the runtime has no form to run.
TEST(FormsRuntimeStartTest, AFormThatCannotBeMadeLeavesNoWindowBehind)
{
    // Refuses the port window's buttons, and only those.
    struct RefuseButtons {
        static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
        {
            if (code == HCBT_CREATEWND) {
                const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
                // With common controls 6 the class name carries its version:
                // "6.0.2600.2982!Button".
                const wchar_t* name = create->lpcs->lpszClass;
                const wchar_t* bang = IS_INTRESOURCE(name) ? nullptr : wcsrchr(name, L'!');
                wchar_t parent[64] = {};
                GetClassNameW(create->lpcs->hwndParent, parent, 64);
                if (!IS_INTRESOURCE(name) && _wcsicmp(bang ? bang + 1 : name, WC_BUTTONW) == 0 &&
                    wcscmp(parent, L"DovrelForm") == 0)
                    return 1;
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        }
    };
    Win32FormsRuntime runtime(L"Orvane - Dovrel");
    runtime.InitCommonControls();
    HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseButtons::Hook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    ReportCloser closer([] {
        // While the report is open, the half-made window is gone already.
        if (FindWindowW(L"DovrelForm", nullptr))
            ADD_FAILURE() << "the port window is still there while the error is reported";
    });
    const int exitCode = runtime.RunProgram([&] { runtime.CreateForm(frmMainDesign()).TheForm().Show(); });
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(exitCode, 1);
    EXPECT_THAT(closer.Text(), ::testing::StartsWith(L"CreateWindowEx (button) failed"));
    EXPECT_EQ(FindWindowW(L"DovrelForm", nullptr), nullptr);
    EXPECT_FALSE(runtime.FormShown());
}

TEST_F(FormsRuntimeTest, UnloadRunsTheHandlerOnceAndEndsTheLoop)
{
    int unloads = 0;
    form.onUnload = [&](std::int16_t&) { ++unloads; };
    form.Show();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(runtime.Run(), 0);
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(IsWindow(window));
    form.Unload();
    EXPECT_EQ(unloads, 1);
}

// Windows asks, then ends the session, and may end the process as soon as
// WM_ENDSESSION returns: the form unloads then, once.
TEST_F(FormsRuntimeTest, TheEndOfTheSessionUnloadsTheFormOnceAndACalledOffOneNothing)
{
    int unloads = 0;
    form.onUnload = [&](std::int16_t&) { ++unloads; };
    form.Show();
    EXPECT_NE(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
    SendMessageW(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_EQ(unloads, 0);
    EXPECT_TRUE(IsWindow(window));

    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(runtime.Run(), 0);
}

TEST_F(FormsRuntimeTest, TheHourglassShowsOverTheWindowWhileSet)
{
    form.Show();
    runtime.SetScreenMousePointer(MousePointer::Hourglass);
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(List()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    runtime.SetScreenMousePointer(MousePointer::Default);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(FormsRuntimeTest, ThePromptReturnsTheEnteredTextWholeOrNothingOnCancel)
{
    form.Show();
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
    form.Show();
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
