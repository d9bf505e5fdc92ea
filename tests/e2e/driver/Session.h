#pragma once
// What Windows itself does to the program's window: the end of the user's
// session, and minimising, maximising and restoring.
#include "tests/e2e/driver/Common.h"

namespace e2e {

// "minimized", "maximized" or "normal".
std::wstring ShowState(HWND window);

void EndSession(const Args& args);
void ShowWindowCommand(const Args& args);

}  // namespace e2e
