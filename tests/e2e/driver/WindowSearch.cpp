#include "tests/e2e/driver/WindowSearch.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "platform/win32/system/UniqueHandle.h"
#include "tests/e2e/driver/RemoteList.h"
#include "tests/e2e/driver/Session.h"

namespace e2e {

using dovrel::win32::UniqueKernelHandle;

std::wstring WindowText(HWND window)
{
    wchar_t buffer[512] = {};
    const int length = GetWindowTextW(window, buffer, static_cast<int>(std::size(buffer)));
    return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring ClassOf(HWND window)
{
    wchar_t buffer[256] = {};
    const int length = GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
    return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

bool HasClass(HWND window, const wchar_t* className)
{
    return _wcsicmp(ClassOf(window).c_str(), className) == 0;
}

std::wstring Shown(std::wstring caption)
{
    caption.erase(std::remove(caption.begin(), caption.end(), L'&'), caption.end());
    return caption;
}

std::wstring ControlText(HWND control)
{
    const LRESULT length = Ask(control, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = Ask(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::wstring OwnerCaption(HWND window)
{
    HWND owner = GetWindow(window, GW_OWNER);
    return owner ? WindowText(owner) : L"";
}

namespace {

BOOL CALLBACK AddVisibleTopWindow(HWND window, LPARAM found)
{
    if (IsWindowVisible(window))
        reinterpret_cast<std::vector<TopWindow>*>(found)->push_back({window, WindowText(window)});
    return TRUE;
}

BOOL CALLBACK AddChild(HWND child, LPARAM found)
{
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

}  // namespace

std::vector<TopWindow> VisibleTopWindows()
{
    std::vector<TopWindow> windows;
    EnumWindows(AddVisibleTopWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring DescribeVisibleWindows()
{
    std::wstring text;
    for (const auto& window : VisibleTopWindows()) {
        if (!window.caption.empty())
            text += (text.empty() ? L"" : L", ") + Quoted(window.caption);
    }
    return L"visible windows: " + (text.empty() ? std::wstring(L"none") : text);
}

HWND FindTopWindow(const std::wstring& text, bool exact)
{
    for (const auto& window : VisibleTopWindows()) {
        if (exact ? window.caption == text : ContainsNoCase(window.caption, text))
            return window.handle;
    }
    return nullptr;
}

HWND WaitTopWindow(const std::wstring& text, bool exact, DWORD ms)
{
    HWND window = Poll(ms, [&] { return FindTopWindow(text, exact); });
    if (!window)
        throw Failure(Utf8(L"no visible window " + std::wstring(exact ? L"titled " : L"whose title contains ") +
                           Quoted(text) + L" after " + std::to_wstring(ms) + L" ms; " + DescribeVisibleWindows()));
    return window;
}

HWND MainWindow(DWORD ms)
{
    return WaitTopWindow(MainTitle(), true, ms);
}

HWND WindowArgument(const Args& args, size_t index)
{
    return args.size() > index ? WaitTopWindow(args[index], false, 2000) : MainWindow();
}

std::vector<HWND> Descendants(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, AddChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND FindChild(HWND parent, const std::wstring& className, const std::wstring* caption)
{
    for (HWND child : Descendants(parent)) {
        if (HasClass(child, className.c_str()) && (!caption || Shown(WindowText(child)) == Shown(*caption)))
            return child;
    }
    return nullptr;
}

HWND MainList(HWND ports)
{
    HWND list = FindChild(ports, WC_LISTVIEWW);
    if (!list)
        throw Failure(Utf8(L"the window " + Quoted(MainTitle()) + L" has no SysListView32"));
    return list;
}

HWND Button(HWND window, const std::wstring& caption)
{
    HWND button = FindChild(window, WC_BUTTONW, &caption);
    if (!button)
        throw Failure(Utf8(L"no button " + Quoted(caption) + L" in " + Quoted(WindowText(window))));
    return button;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &result))
        throw Failure("the window of class " + Utf8(ClassOf(window)) + " did not answer message " +
                      std::to_string(message) + " within " + std::to_string(kAnswerMs) + " ms");
    return static_cast<LRESULT>(result);
}

void PrintRect(HWND window)
{
    RECT rect{};
    RECT client{};
    GetWindowRect(window, &rect);
    GetClientRect(window, &client);
    Print(L"rect: " + std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top) + L" " +
          std::to_wstring(rect.right) + L" " + std::to_wstring(rect.bottom));
    Print(L"size: " + std::to_wstring(rect.right - rect.left) + L" " + std::to_wstring(rect.bottom - rect.top));
    Print(L"client: " + std::to_wstring(client.right) + L" " + std::to_wstring(client.bottom));
}

// ---------------------------------------------------------------- commands

void WaitWindow(const Args& args)
{
    const DWORD ms = WaitArgument(args, 1);
    HWND window = PollClosely(ms, [&] { return FindTopWindow(args[0], true); });
    const long long seen = UnixMilliseconds();
    if (!window)
        window = WaitTopWindow(args[0], true, 0);  // says what is there instead
    PrintRect(window);
    Print(L"seen-at: " + std::to_wstring(seen));
}

void WaitGone(const Args& args)
{
    const DWORD ms = WaitArgument(args, 1);
    if (!Poll(ms, [&] { return FindTopWindow(args[0], true) == nullptr; }))
        throw Failure(Utf8(L"the window " + Quoted(args[0]) + L" is still there after " + std::to_wstring(ms) +
                           L" ms"));
}

void FindWindowCommand(const Args& args)
{
    HWND window = WaitTopWindow(args[0], false, WaitArgument(args, 1));
    Print(L"caption: " + WindowText(window));
    Print(L"owner: " + OwnerCaption(window));
}

void WaitNoWindow(const Args& args)
{
    const DWORD ms = WaitArgument(args, 1);
    HWND left = nullptr;
    if (!Poll(ms, [&] { return (left = FindTopWindow(args[0], false)) == nullptr; }))
        throw Failure(Utf8(L"the window " + Quoted(WindowText(left)) + L" is still there after " +
                           std::to_wstring(ms) + L" ms"));
}

void CloseWindowCommand(const Args& args)
{
    PostMessageW(WaitTopWindow(args[0], false, 2000), WM_CLOSE, 0, 0);
}

void CloseBox(const Args&)
{
    PostMessageW(MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

// Last resort for cleaning up after a failed run: ends the processes of
// every window whose caption contains the text.
void EndProcess(const Args& args)
{
    int ended = 0;
    for (const auto& window : VisibleTopWindows()) {
        if (!ContainsNoCase(window.caption, args[0]))
            continue;
        DWORD pid = 0;
        GetWindowThreadProcessId(window.handle, &pid);
        UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
        if (process && TerminateProcess(process.Get(), 1))
            ++ended;
    }
    Print(L"ended: " + std::to_wstring(ended));
}

void Windows(const Args&)
{
    for (const auto& window : VisibleTopWindows())
        Print(window.caption + L"\t" + ClassOf(window.handle) + L"\t" + OwnerCaption(window.handle));
}

void WindowRect(const Args& args)
{
    HWND window = args.empty() ? MainWindow() : WaitTopWindow(args[0], true, 2000);
    PrintRect(window);
    Print(L"state: " + ShowState(window));
}

void WindowStyle(const Args&)
{
    const LONG style = GetWindowLongW(MainWindow(), GWL_STYLE);
    const auto yesNo = [&](LONG bit) { return (style & bit) ? L"yes" : L"no"; };
    Print(std::wstring(L"sizable: ") + yesNo(WS_THICKFRAME));
    Print(std::wstring(L"minimize-box: ") + yesNo(WS_MINIMIZEBOX));
    Print(std::wstring(L"maximize-box: ") + yesNo(WS_MAXIMIZEBOX));
    Print(std::wstring(L"system-menu: ") + yesNo(WS_SYSMENU));
}

void Move(const Args& args)
{
    HWND ports = MainWindow();
    if (!SetWindowPos(ports, nullptr, ParseNumber(args[0], L"X"), ParseNumber(args[1], L"Y"),
                      ParseNumber(args[2], L"the width"), ParseNumber(args[3], L"the height"),
                      SWP_NOZORDER | SWP_NOACTIVATE))
        throw Failure("SetWindowPos failed, error " + std::to_string(GetLastError()));
    PrintRect(ports);
}

// As Windows tells a window that has come onto a monitor of another scale:
// the new dots per inch and the rectangle it suggests, in the window's own
// process.
void DpiChanged(const Args& args)
{
    HWND ports = MainWindow();
    const auto dpi = static_cast<WORD>(ParseNumber(args[0], L"the dots per inch"));
    const LONG left = ParseNumber(args[1], L"X"), top = ParseNumber(args[2], L"Y");
    const RECT suggested = {left, top, left + ParseNumber(args[3], L"the width"),
                            top + ParseNumber(args[4], L"the height")};
    RemoteMemory memory(ports, sizeof suggested);
    memory.Write(0, &suggested, sizeof suggested);
    constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED
    Ask(ports, kDpiChanged, MAKEWPARAM(dpi, dpi), memory.At(0));
    PrintRect(ports);
}

// The size that fits a button's text in the font it draws it with.
void ButtonSize(const Args& args)
{
    HWND button = Button(MainWindow(), args[0]);
    SIZE ideal = {};
    RemoteMemory memory(button, sizeof ideal);
    memory.Write(0, &ideal, sizeof ideal);
    if (!Ask(button, BCM_GETIDEALSIZE, 0, memory.At(0)))
        throw Failure("BCM_GETIDEALSIZE failed");
    memory.Read(memory.At(0), &ideal, sizeof ideal);
    Print(L"ideal: " + std::to_wstring(ideal.cx) + L" " + std::to_wstring(ideal.cy));
}

// The rectangles are in the window's client coordinates.
void Controls(const Args& args)
{
    HWND window = WindowArgument(args, 0);
    for (HWND child : Descendants(window)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        Print(ClassOf(child) + L"\t" + WindowText(child) + L"\t" +
              (IsWindowVisible(child) ? L"visible" : L"hidden") + L"\t" +
              (IsWindowEnabled(child) ? L"enabled" : L"disabled") + L"\t" + std::to_wstring(rect.left) + L" " +
              std::to_wstring(rect.top) + L" " + std::to_wstring(rect.right) + L" " + std::to_wstring(rect.bottom));
    }
}

// WM_GETTEXT is one of the messages Windows carries across processes.
void EditText(const Args& args)
{
    HWND window = WaitTopWindow(args[0], false, WaitArgument(args, 1));
    for (HWND child : Descendants(window)) {
        if (ContainsNoCase(ClassOf(child), L"edit")) {
            WriteAll(STD_OUTPUT_HANDLE, Utf8(ControlText(child)));
            return;
        }
    }
    throw Failure(Utf8(L"the window " + Quoted(WindowText(window)) + L" has no edit control"));
}

// A window of another thread is sent its WM_PAINT: what was pending has been
// painted when this returns.
void Paint(const Args&)
{
    if (!RedrawWindow(MainWindow(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN))
        throw Failure("RedrawWindow failed, error " + std::to_string(GetLastError()));
}

}  // namespace e2e
