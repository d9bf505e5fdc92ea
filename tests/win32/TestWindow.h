#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
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

// Handles this thread's messages as they come until the condition holds;
// false when it still does not after timeoutMs, which is only a guard.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// A 1 ms timer of the thread that makes it, counting its ticks. Once it has
// ticked twice in a message loop, any other running 1 ms timer of that
// thread would have ticked there too: another thread waits for that instead
// of sleeping. One at a time.
class TimerWitness {
public:
    TimerWitness();
    ~TimerWitness();
    TimerWitness(const TimerWitness&) = delete;
    TimerWitness& operator=(const TimerWitness&) = delete;

    // From any thread: waits until the timer has ticked twice more.
    bool WaitForTwoMoreTicks(DWORD timeoutMs = 10000);

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    static TimerWitness* current_;
    std::atomic<int> ticks_{0};
    HANDLE ticked_;
    UINT_PTR timer_;
};

// The text of a list view cell as the control itself reports it.
std::wstring ListCellText(HWND list, int index, int column);

}  // namespace dovrel::test

namespace dovrel::test {

// Waits until a visible top-level window with this caption (of any process)
// has a child of the given class; null after the timeout.
HWND WaitForDialog(const wchar_t* caption, const wchar_t* childClass, int timeoutMs = 10000);

}  // namespace dovrel::test
