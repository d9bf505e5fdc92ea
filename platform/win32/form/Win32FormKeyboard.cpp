#include "platform/win32/form/Win32Form.h"

#include "platform/win32/controls/KeyState.h"

// The form and the keyboard: key preview, the focus kept on a control as
// the dialog manager keeps it, and the default button that marks which
// button Enter presses.
namespace dovrel::win32 {

bool Win32Form::PreviewKey(MSG& message)
{
    if (!definition_.keyPreview || state_ != State::Loaded || !onKeyDown ||
        (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN))
        return false;
    const HWND form = window_.hWnd();
    if (message.hwnd != form && !IsChild(form, message.hwnd))
        return false;
    auto keyCode = static_cast<std::int16_t>(message.wParam);
    std::int16_t shift = CurrentShiftState();
    RunHandler([&] { onKeyDown(keyCode, shift); });
    // A handler that sets the key code to 0 keeps the key from the control.
    if (keyCode == 0)
        return true;
    message.wParam = static_cast<WPARAM>(static_cast<std::uint16_t>(keyCode));
    return !IsWindow(message.hwnd);
}

bool Win32Form::IsControl(HWND window) const
{
    if (!window)
        return false;
    for (const auto& list : lists_)
        if (list->Handle() == window)
            return true;
    for (const auto& button : buttons_)
        if (button->Handle() == window)
            return true;
    return false;
}

HWND Win32Form::FirstInTabOrder() const
{
    return tabOrder_.empty() ? nullptr : tabOrder_.front().second;
}

void Win32Form::OnControlFocused(HWND control)
{
    lastFocus_ = control;
    // As in a dialog: the focused button is the one Enter presses, and with
    // no default button of its own, the window shows none otherwise.
    for (const auto& button : buttons_)
        button->ShowAsDefault(button->Handle() == control);
}

// The dialog manager asks for the default button as it moves the focus and
// takes any other button that shows as default back to a plain one. The
// answer matches what OnControlFocused shows: the focused button, or none.
LRESULT Win32Form::DefaultButtonAnswer() const
{
    const HWND focus = GetFocus();
    for (const auto& button : buttons_)
        if (button->Handle() == focus)
            return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
    return 0;
}

// The control that had the focus when it still can take it; otherwise the
// next one in tab order that can.
HWND Win32Form::FocusCandidate() const
{
    const HWND last = IsControl(lastFocus_) ? lastFocus_ : nullptr;
    if (last && IsWindowVisible(last) && IsWindowEnabled(last))
        return last;
    const HWND next = GetNextDlgTabItem(window_.hWnd(), last, FALSE);
    return IsControl(next) ? next : nullptr;
}

void Win32Form::RestoreFocus()
{
    if (const HWND control = FocusCandidate())
        SetFocus(control);
}

void Win32Form::KeepFocusInWindow()
{
    const HWND form = window_.hWnd();
    if (form && GetActiveWindow() == form && !IsControl(GetFocus()))
        RestoreFocus();
}

void Win32Form::OnActivate(WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (IsControl(focus))
            lastFocus_ = focus;
    } else if (!HIWORD(wParam)) {
        RestoreFocus();
    }
}

}  // namespace dovrel::win32
