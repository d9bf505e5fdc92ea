#pragma once

#include <functional>

namespace dovrel::win32 {

// Runs an event handler of the program from a window procedure. An error
// that escapes the handler must not unwind through the window system, so it
// stops here: it is shown in the default error report (a message box with
// the application title and the error's description) and the program goes on.
void DispatchEvent(const std::function<void()>& handler) noexcept;

}  // namespace dovrel::win32
