#include "platform/win32/Win32Forms.h"

#include <commctrl.h>

#include "platform/Error.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/InputPrompt.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32MainForm.h"

namespace dovrel::win32 {

namespace {

constexpr wchar_t kRuntimeClass[] = L"DovrelRuntimeMain";

UniqueHwnd CreateRuntimeWindow(const std::wstring& title)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kRuntimeClass;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        ThrowLastError(L"RegisterClassEx");
    UniqueHwnd window(CreateWindowExW(0, kRuntimeClass, title.c_str(), WS_OVERLAPPED | WS_SYSMENU, 0, 0, 0, 0, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!window)
        ThrowLastError(L"CreateWindowEx (runtime window)");
    return window;
}

}  // namespace

Win32Forms::Win32Forms(std::wstring appTitle)
    : appTitle_(std::move(appTitle)), runtimeWindow_(CreateRuntimeWindow(appTitle_))
{
}

Win32Forms::~Win32Forms() = default;

HWND Win32Forms::MainFormWindow() const
{
    return mainForm_ ? mainForm_->Handle() : nullptr;
}

bool Win32Forms::MainFormShown() const
{
    return mainForm_ && mainForm_->WasShown();
}

void Win32Forms::InitCommonControls()
{
    InitListViewClasses();
}

MainFormControls Win32Forms::CreateMainForm()
{
    if (!mainForm_)
        mainForm_ = std::make_unique<Win32MainForm>(*this);
    return mainForm_->Controls();
}

void Win32Forms::SetScreenMousePointer(MousePointer pointer)
{
    pointer_ = pointer;
    SetCursor(LoadCursorW(nullptr, pointer == MousePointer::Hourglass ? IDC_WAIT : IDC_ARROW));
}

// Boxes and prompts belong to the port window while it is on the screen.
HWND Win32Forms::DialogOwner() const
{
    HWND owner = MainFormWindow();
    return owner && IsWindowVisible(owner) ? owner : nullptr;
}

std::int32_t Win32Forms::MsgBox(const std::wstring& text, std::int32_t style)
{
    const int answer = MessageBoxW(DialogOwner(), text.c_str(), appTitle_.c_str(), static_cast<UINT>(style));
    if (answer == 0)
        ThrowLastError(L"MessageBox");
    return answer;
}

std::wstring Win32Forms::InputBox(const std::wstring& prompt, const std::wstring& defaultText)
{
    return ShowInputPrompt(DialogOwner(), appTitle_, prompt, defaultText);
}

int Win32Forms::RunProgram(const std::function<void()>& startUp)
{
    constexpr int kStartFailed = 1;
    if (!DispatchEvent(startUp) || !MainFormShown()) {
        mainForm_.reset();
        return kStartFailed;
    }
    return Run();
}

int Win32Forms::Run()
{
    if (!MainFormShown() || !MainFormWindow())
        return 0;
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1)
            ThrowLastError(L"GetMessage");
        if (mainForm_->PreviewKey(message))
            continue;
        // Tab, Enter and Esc as in a dialog.
        HWND form = MainFormWindow();
        if (form && IsDialogMessageW(form, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace dovrel::win32
