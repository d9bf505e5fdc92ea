#include "platform/win32/form/Win32FormsRuntime.h"

#include "platform/Error.h"
#include <algorithm>
#include <utility>

#include "platform/win32/form/CallbackGuard.h"
#include "platform/win32/system/Clipboard.h"
#include "platform/win32/form/InputPrompt.h"
#include "platform/win32/system/LastError.h"
#include "platform/win32/form/SaveAsDialog.h"
#include "platform/win32/system/SystemLibrary.h"
#include "platform/win32/form/Win32Form.h"

namespace dovrel::win32 {

namespace {

constexpr wchar_t kRuntimeClass[] = L"DovrelRuntimeMain";

}  // namespace

Win32FormsRuntime::Win32FormsRuntime(std::wstring appTitle)
    : appTitle_(std::move(appTitle)),
      runtimeWindow_(kRuntimeClass, nullptr, 0, appTitle_.c_str(), WS_OVERLAPPED | WS_SYSMENU, RECT{0, 0, 0, 0}, *this)
{
    if (!SetPropW(runtimeWindow_.hWnd(), kTitleWindowProperty, runtimeWindow_.hWnd()))
        ThrowLastError(L"SetProp (runtime)");
}

Win32FormsRuntime::~Win32FormsRuntime() = default;

LRESULT Win32FormsRuntime::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        RemovePropW(window, kTitleWindowProperty);
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND Win32FormsRuntime::FormWindow() const
{
    return form_ ? form_->TheWindow().hWnd() : nullptr;
}

bool Win32FormsRuntime::FormShown() const
{
    return form_ && form_->WasShown();
}

void Win32FormsRuntime::InitCommonControls()
{
    InitListViewClasses();
}

FormControls& Win32FormsRuntime::CreateForm(const FormDefinition& definition)
{
    if (!form_)
        form_ = std::make_unique<Win32Form>(definition, *this);
    return form_->Controls();
}

void Win32FormsRuntime::SetScreenMousePointer(MousePointer pointer)
{
    pointer_ = pointer;
    SetCursor(LoadCursorW(nullptr, pointer == MousePointer::Hourglass ? IDC_WAIT : IDC_ARROW));
}

// Boxes and prompts belong to the form while it is on the screen.
HWND Win32FormsRuntime::DialogOwner() const
{
    const HWND owner = FormWindow();
    return owner && IsWindowVisible(owner) ? owner : nullptr;
}

std::int32_t Win32FormsRuntime::MsgBox(const std::wstring& text, std::int32_t style)
{
    const int answer = MessageBoxW(DialogOwner(), text.c_str(), appTitle_.c_str(), static_cast<UINT>(style));
    if (answer == 0)
        ThrowLastError(L"MessageBox");
    return answer;
}

std::wstring Win32FormsRuntime::InputBox(const std::wstring& prompt, const std::wstring& defaultText)
{
    return ShowInputPrompt(DialogOwner(), appTitle_, prompt, defaultText);
}

void Win32FormsRuntime::SetClipboardText(const std::wstring& text)
{
    PutTextOnClipboard(FormWindow(), text);
}

bool Win32FormsRuntime::ShowSaveAs(const std::vector<FileType>& types, const std::wstring& fileName, SaveAsChoice& choice)
{
    return ShowSaveAsDialog(DialogOwner(), types, fileName, choice);
}

void Win32FormsRuntime::FormFirstShown()
{
    if (onFirstShown_)
        std::exchange(onFirstShown_, nullptr)();
}

void Win32FormsRuntime::AddWait(HANDLE handle, std::function<void()> onSignalled)
{
    if (waits_.size() >= MAXIMUM_WAIT_OBJECTS - 1)
        throw Error(kErrSystem, L"The message loop waits on too many objects.");
    waits_.push_back({handle, std::move(onSignalled)});
}

void Win32FormsRuntime::RemoveWait(HANDLE handle)
{
    waits_.erase(std::remove_if(waits_.begin(), waits_.end(), [&](const Wait& wait) { return wait.handle == handle; }),
                 waits_.end());
}

bool Win32FormsRuntime::AwaitHandlingMessages(HANDLE handle)
{
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));  // for the program's own loop
                return false;
            }
            Deliver(message);
        }
        if (form_ && form_->Closing())
            return false;
        const DWORD woken = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_FAILED)
            ThrowLastError(L"MsgWaitForMultipleObjects");
        if (woken == WAIT_OBJECT_0)
            return true;
    }
}

int Win32FormsRuntime::RunProgram(const std::function<void()>& startUp)
{
    if (!DispatchEvent(startUp) || !FormShown()) {
        form_.reset();
        return kStartFailed;
    }
    return Run();
}

int Win32FormsRuntime::Run()
{
    if (!FormShown() || !FormWindow())
        return 0;
    // Every message waiting is handled before the loop waits again, for
    // a message or for one of the objects.
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return static_cast<int>(message.wParam);
            Deliver(message);
        }
        WaitForMessageOrSignal();
    }
}

void Win32FormsRuntime::Deliver(MSG& message)
{
    if (form_->PreviewKey(message))
        return;
    // Tab, Enter and Esc as in a dialog.
    const HWND form = FormWindow();
    if (form && IsDialogMessageW(form, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32FormsRuntime::WaitForMessageOrSignal()
{
    std::vector<HANDLE> handles;
    for (const Wait& wait : waits_)
        handles.push_back(wait.handle);
    const auto count = static_cast<DWORD>(handles.size());
    const DWORD result =
        MsgWaitForMultipleObjects(count, handles.empty() ? nullptr : handles.data(), FALSE, INFINITE, QS_ALLINPUT);
    if (result == WAIT_FAILED)
        ThrowLastError(L"MsgWaitForMultipleObjects");
    if (result >= WAIT_OBJECT_0 + count)
        return;  // a message
    // A copy: the handler may remove its own wait.
    const std::function<void()> onSignalled = waits_[result - WAIT_OBJECT_0].onSignalled;
    DispatchEvent(onSignalled);
}

}  // namespace dovrel::win32
