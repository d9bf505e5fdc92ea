#pragma once

#include <functional>

namespace dovrel::win32 {

// The property that marks the window whose caption is the application
// title: the forms runtime's hidden window, on the thread of the program's
// windows.
constexpr wchar_t kTitleWindowProperty[] = L"Dovrel.ApplicationTitle";

// Shows the error being handled in the default error report: a message box
// with the application title and the error's description, owned by the
// program's active window. Only for use inside a catch block. It never
// throws: when even the description cannot be had, a fixed text stands in.
// The title is the caption of this thread's window marked with
// kTitleWindowProperty; without one, the box has none.
void ReportCurrentError() noexcept;
// The same, captioned `title`: for an error that ends the program before or
// after its forms runtime lives.
void ReportCurrentError(const wchar_t* title) noexcept;

// Raised to give up the running handler, which waits for something that
// no longer matters because the program is ending; it ends the handler
// without an error report.
struct HandlerAbandoned {};

// Runs the body of a window procedure, a subclass or dialog procedure or any
// other callback that Windows calls. Nothing may unwind through the window
// system, so whatever the body raises ends here, in the error report, and
// the callback answers `failed`.
template <typename Result, typename Body>
Result Guarded(Result failed, Body&& body) noexcept
{
    try {
        return body();
    } catch (const HandlerAbandoned&) {
        return failed;
    } catch (...) {
        ReportCurrentError();
        return failed;
    }
}

// Runs an event handler of the program the same way; true when the handler
// ran to its end, false when an error ended it and was reported.
bool DispatchEvent(const std::function<void()>& handler) noexcept;

// Where the events of a control run. The port window decides whether its
// state lets a handler run at all; a control on its own runs them at once.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void RunHandler(const std::function<void()>& handler) = 0;
};

// Runs every handler at once, through DispatchEvent.
EventSink& ImmediateEvents();

}  // namespace dovrel::win32
