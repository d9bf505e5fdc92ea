#include "tests/e2e/driver/Focus.h"

#include <commctrl.h>

#include "tests/e2e/driver/WindowSearch.h"

namespace e2e {

namespace {

// The focus of another thread: GetFocus only sees the caller's own. The
// thread keeps its focus while another program is in front.
HWND FocusOfThread(HWND window)
{
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!thread || !GetGUIThreadInfo(thread, &info))
        throw Failure("GetGUIThreadInfo failed, error " + std::to_string(GetLastError()));
    return info.hwndFocus;
}

bool Inside(HWND window, HWND control)
{
    return control == window || IsChild(window, control);
}

std::wstring Describe(HWND control)
{
    return control ? ClassOf(control) + L" " + Quoted(WindowText(control)) : L"none";
}

// TEXT names a control of the window by its text, ampersands ignored; the
// list view, whose text is empty, is "list".
bool IsNamed(HWND window, HWND control, const std::wstring& text)
{
    if (!control || !Inside(window, control))
        return false;
    if (text == L"list")
        return HasClass(control, WC_LISTVIEWW);
    return Shown(WindowText(control)) == Shown(text);
}

}  // namespace

void Focus(const Args&)
{
    HWND window = MainWindow();
    HWND focus = FocusOfThread(window);
    Print(L"focus: " + Describe(focus));
    if (focus)
        Print(std::wstring(L"in-ports: ") + (Inside(window, focus) ? L"yes" : L"no"));
}

void WaitFocus(const Args& args)
{
    const DWORD ms = WaitArgument(args, 1);
    HWND window = MainWindow();
    HWND focus = nullptr;
    if (!Poll(ms, [&] { return IsNamed(window, focus = FocusOfThread(window), args[0]); }))
        throw Failure(Utf8(L"after " + std::to_wstring(ms) + L" ms the focus is on " + Describe(focus) +
                           (focus && !Inside(window, focus) ? L" outside " : L" in ") + Quoted(WindowText(window)) +
                           L", expected " + Quoted(args[0])));
}

void DefaultButtons(const Args& args)
{
    std::wstring captions;
    for (HWND child : Descendants(WindowArgument(args, 0))) {
        if (HasClass(child, WC_BUTTONW) && (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            captions += (captions.empty() ? L"" : L",") + Shown(WindowText(child));
    }
    Print(captions.empty() ? L"none" : captions);
}

}  // namespace e2e
