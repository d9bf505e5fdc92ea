#include "tests/e2e/driver/Session.h"

#include <iterator>

#include "tests/e2e/driver/WindowSearch.h"

namespace e2e {

std::wstring ShowState(HWND window)
{
    if (IsIconic(window))
        return L"minimized";
    return IsZoomed(window) ? L"maximized" : L"normal";
}

// As at a log-off: the window is asked whether the session may end; then
// told whether it ends. As Windows does, a window that answers no is told
// that the session goes on. Once a program has answered WM_ENDSESSION with
// TRUE, Windows may end it at any moment: "ended" says whether its window
// was already gone by then.
void EndSession(const Args& args)
{
    const bool calledOff = !args.empty();
    if (calledOff && args[0] != L"cancelled")
        throw UsageError("the only argument is \"cancelled\"");
    HWND ports = MainWindow();
    const LRESULT answer = Ask(ports, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    Print(L"query: " + std::to_wstring(answer));
    const WPARAM ending = (calledOff || answer == 0) ? FALSE : TRUE;
    DWORD_PTR result = 0;
    const bool answered = SendMessageTimeoutW(ports, WM_ENDSESSION, ending, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                              kAnswerMs, &result) != 0;
    // A program may also end while it handles the message, before it answers.
    if (!answered && IsWindow(ports))
        throw Failure("the window did not answer WM_ENDSESSION within " + std::to_string(kAnswerMs) + " ms");
    Print(std::wstring(L"ended: ") + (IsWindow(ports) ? L"no" : L"yes"));
}

// Asynchronous, so that a busy program cannot hold the driver; the wait is
// for the state to show.
void ShowWindowCommand(const Args& args)
{
    static const struct {
        const wchar_t* name;
        int command;
        const wchar_t* state;
    } kStates[] = {
        {L"minimize", SW_MINIMIZE, L"minimized"},
        {L"maximize", SW_MAXIMIZE, L"maximized"},
        {L"restore", SW_RESTORE, L"normal"},
    };
    const auto* wanted = std::end(kStates);
    for (const auto& state : kStates) {
        if (args[0] == state.name)
            wanted = &state;
    }
    if (wanted == std::end(kStates))
        throw UsageError("show-window minimize, maximize or restore");
    HWND ports = MainWindow();
    if (!ShowWindowAsync(ports, wanted->command))
        throw Failure("ShowWindowAsync failed, error " + std::to_string(GetLastError()));
    if (!Poll(kDefaultWaitMs, [&] { return ShowState(ports) == wanted->state; }))
        throw Failure(Utf8(L"the window is " + ShowState(ports) + L", not " + wanted->state + L", after " +
                           std::to_wstring(kDefaultWaitMs) + L" ms"));
    Print(L"state: " + ShowState(ports));
}

}  // namespace e2e
