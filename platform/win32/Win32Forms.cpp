#include "platform/win32/Win32Forms.h"

#include "platform/Error.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/InputPrompt.h"
#include "platform/win32/LastError.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Form.h"

namespace dovrel::win32 {

namespace {

constexpr wchar_t kRuntimeClass[] = L"DovrelRuntimeMain";

}  // namespace

Win32Forms::Win32Forms(std::wstring appTitle)
    : appTitle_(std::move(appTitle)),
      runtimeWindow_(kRuntimeClass, nullptr, 0, appTitle_.c_str(), WS_OVERLAPPED | WS_SYSMENU, RECT{0, 0, 0, 0}, *this)
{
    SetErrorReportTitle(appTitle_.c_str());
}

Win32Forms::~Win32Forms() = default;

LRESULT Win32Forms::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND Win32Forms::FormWindow() const
{
    return form_ ? form_->TheWindow().hWnd() : nullptr;
}

bool Win32Forms::FormShown() const
{
    return form_ && form_->WasShown();
}

void Win32Forms::InitCommonControls()
{
    InitListViewClasses();
}

FormControls& Win32Forms::CreateForm(const FormDefinition& definition)
{
    if (!form_)
        form_ = std::make_unique<Win32Form>(definition, *this);
    return form_->Controls();
}

void Win32Forms::SetScreenMousePointer(MousePointer pointer)
{
    pointer_ = pointer;
    SetCursor(LoadCursorW(nullptr, pointer == MousePointer::Hourglass ? IDC_WAIT : IDC_ARROW));
}

// Boxes and prompts belong to the form while it is on the screen.
HWND Win32Forms::DialogOwner() const
{
    const HWND owner = FormWindow();
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
    if (!DispatchEvent(startUp) || !FormShown()) {
        form_.reset();
        return kStartFailed;
    }
    return Run();
}

int Win32Forms::Run()
{
    if (!FormShown() || !FormWindow())
        return 0;
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1)
            ThrowLastError(L"GetMessage");
        if (form_->PreviewKey(message))
            continue;
        // Tab, Enter and Esc as in a dialog.
        const HWND form = FormWindow();
        if (form && IsDialogMessageW(form, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace dovrel::win32
