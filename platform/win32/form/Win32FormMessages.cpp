#include "platform/win32/form/Win32Form.h"

#include "platform/win32/controls/ChildControl.h"
#include "platform/win32/form/Win32FormsRuntime.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The form's messages: its controls' notifications, its timers, closing,
// the end of the session and the ones the window system asks it.
namespace dovrel::win32 {

// Every control's notifications go back to the control; the form only
// follows the focus, and has Esc press the button that Esc presses.
LRESULT Win32Form::OnControlNotification(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        const auto source = reinterpret_cast<HWND>(lParam);
        if (source && HIWORD(wParam) == BN_SETFOCUS)
            OnControlFocused(source);
        // Esc arrives as IDCANCEL, from the dialog manager, without a window.
        if (!source && LOWORD(wParam) == IDCANCEL && cancelButton_)
            cancelButton_->OnCommand(BN_CLICKED);
    } else if (const auto* header = reinterpret_cast<const NMHDR*>(lParam)) {
        if (header->code == NM_SETFOCUS && IsControl(header->hwndFrom))
            OnControlFocused(header->hwndFrom);
    }
    LRESULT result = 0;
    if (ReflectToControl(message, wParam, lParam, result))
        return result;
    return message == WM_NOTIFY ? DefWindowProcW(window_.hWnd(), message, wParam, lParam) : 0;
}

// The controls' windows go with the form's; the controls let go of them
// before.
void Win32Form::OnDestroy()
{
    state_ = State::Unloaded;
    for (const auto& button : buttons_)
        button->ParentDestroying();
    for (const auto& list : lists_)
        list->ParentDestroying();
    PostQuitMessage(0);
}

void Win32Form::OnTimer(UINT_PTR id)
{
    for (const auto& timer : timers_) {
        if (timer->Id() != id)
            continue;
        if (handlersRunning_ > 0)
            timer->HoldTick();
        else
            timer->OnTick();
    }
}

void Win32Form::OnClose()
{
    // A handler waiting in a modal loop finishes first.
    if (state_ == State::Loaded && handlersRunning_ > 0)
        closeWaiting_ = true;
    else
        Unload();
}

void Win32Form::OnEndSession(bool ending)
{
    // The process may end as soon as this returns, whatever handler waits.
    if (ending)
        Unload();
}

LRESULT Win32Form::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
        return OnControlNotification(message, wParam, lParam);
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_SIZE:
        // The layout follows a placement restored while the form loads.
        if ((state_ == State::Loading || state_ == State::Loaded) && onResize)
            DispatchEvent(onResize);
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DPICHANGED:
        if (lParam)
            OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case DM_GETDEFID:
        return DefaultButtonAnswer();
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        return 0;
    case WM_SETCURSOR:
        if (runtime_.ScreenMousePointer() == MousePointer::Hourglass) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_ACTIVATE:
        OnActivate(wParam);
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
            return 0;  // the focus is given back; not to the window itself
        break;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace dovrel::win32
