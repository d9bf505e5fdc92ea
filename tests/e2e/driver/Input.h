#pragma once
// Keys and clicks as a person gives them.
#include "tests/e2e/driver/Common.h"

namespace e2e {

// SetForegroundWindow, then waits until the window is in front.
void BringToFront(HWND window);
// Posts BM_CLICK to the enabled button of that caption (ampersands ignored).
void PressButton(HWND window, const std::wstring& caption);

void Click(const Args& args);
void Key(const Args& args);
void MouseClick(const Args& args);
void RightClickRow(const Args& args);

}  // namespace e2e
