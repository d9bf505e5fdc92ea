#include "tests/win32/TestWindow.h"

#include <commctrl.h>

#include <stdexcept>

#include "platform/win32/controls/ChildControl.h"

namespace dovrel::test {

namespace {

constexpr wchar_t kClassName[] = L"DovrelTestWindow";

// Hands the controls' notifications back to them, as a form does.
LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if ((message == WM_COMMAND || message == WM_NOTIFY) && win32::ReflectToControl(message, wParam, lParam, result))
        return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterTestClass()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        return RegisterClassW(&windowClass) != 0;
    }();
    if (!registered)
        throw std::runtime_error("RegisterClass failed");
}

}  // namespace

TestWindow::TestWindow(int width, int height)
{
    RegisterTestClass();
    window_ = CreateWindowExW(0, kClassName, L"Dovrel test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, width, height,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_)
        throw std::runtime_error("CreateWindowEx failed");
    PumpMessages();
}

TestWindow::~TestWindow()
{
    DestroyWindow(window_);
    PumpMessages();
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs)
            return false;
        MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs - waited, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

TimerWitness* TimerWitness::current_ = nullptr;

TimerWitness::TimerWitness()
    : ticked_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), timer_(SetTimer(nullptr, 0, 1, &Tick))
{
    if (!ticked_ || !timer_ || current_)
        throw std::runtime_error("TimerWitness: no event or timer, or another witness");
    current_ = this;
}

TimerWitness::~TimerWitness()
{
    KillTimer(nullptr, timer_);
    CloseHandle(ticked_);
    current_ = nullptr;
}

void CALLBACK TimerWitness::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (current_) {
        ++current_->ticks_;
        SetEvent(current_->ticked_);
    }
}

bool TimerWitness::WaitForTwoMoreTicks(DWORD timeoutMs)
{
    const int wanted = ticks_ + 2;
    const DWORD start = GetTickCount();
    while (ticks_ < wanted) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs || WaitForSingleObject(ticked_, timeoutMs - waited) != WAIT_OBJECT_0)
            return false;
    }
    return true;
}

std::wstring ListCellText(HWND list, int index, int column)
{
    wchar_t buffer[512] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = ARRAYSIZE(buffer);
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

}  // namespace dovrel::test

namespace dovrel::test {

HWND WaitForDialog(const wchar_t* caption, const wchar_t* childClass, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        HWND dialog = FindWindowW(nullptr, caption);
        // A dialog is found before it is visible and before its controls
        // exist; anything sent to it then is lost.
        if (dialog && IsWindowVisible(dialog) && FindWindowExW(dialog, nullptr, childClass, nullptr))
            return dialog;
        Sleep(20);
    }
    return nullptr;
}

}  // namespace dovrel::test
