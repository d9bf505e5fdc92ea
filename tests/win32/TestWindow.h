#pragma once

#include <windows.h>

#include <string>

namespace dovrel::test {

// A plain visible top-level window to host controls under test.
class TestWindow {
public:
    TestWindow(int width = 640, int height = 400);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

// Handles every message waiting for this thread.
void PumpMessages();

// The text of a list view cell as the control itself reports it.
std::wstring ListCellText(HWND list, int index, int column);

}  // namespace dovrel::test

namespace dovrel::test {

// Waits until a visible top-level window with this caption (of any process)
// has a child of the given class; null after the timeout.
HWND WaitForDialog(const wchar_t* caption, const wchar_t* childClass, int timeoutMs = 10000);

}  // namespace dovrel::test
