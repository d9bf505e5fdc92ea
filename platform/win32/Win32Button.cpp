#include "platform/win32/Win32Button.h"

#include <commctrl.h>

#include <utility>

#include "platform/Error.h"
#include "platform/Twips.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/LastError.h"
#include "platform/win32/SystemLibrary.h"

namespace dovrel::win32 {

Win32Button::Win32Button(HWND parent, const ControlDefinition& definition, HFONT font, int dpi,
                         std::function<void(HWND)> onFocused)
    : left_(definition.left), top_(definition.top), width_(definition.width), height_(definition.height), dpi_(dpi),
      cancel_(definition.cancel), onFocused_(std::move(onFocused))
{
    const DWORD tabStop = definition.tabIndex >= 0 ? WS_TABSTOP : 0;
    window_.Reset(CreateWindowExW(0, WC_BUTTONW, definition.caption.c_str(),
                                  WS_CHILD | WS_VISIBLE | tabStop | BS_PUSHBUTTON, TwipsToPixels(left_, dpi),
                                  TwipsToPixels(top_, dpi), TwipsToPixels(width_, dpi), TwipsToPixels(height_, dpi),
                                  parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(definition.id)),
                                  GetModuleHandleW(nullptr), nullptr));
    if (!window_)
        ThrowLastError(L"CreateWindowEx (button)");
    SendMessageW(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!CommonControls().SetWindowSubclass(window_.Get(), ButtonProc, 0, reinterpret_cast<DWORD_PTR>(this)))
        throw Error(kErrSystem, L"The button could not be attached to its window.");
}

Win32Button::~Win32Button()
{
    if (window_)
        CommonControls().RemoveWindowSubclass(window_.Get(), ButtonProc, 0);
}

void Win32Button::SetEnabled(bool enabled)
{
    const HWND window = window_.Get();
    if (!IsWindow(window))
        throw Error(kErrSystem, L"The button no longer exists.");
    // Disabling the focused control would leave the keyboard nowhere.
    if (!enabled && GetFocus() == window) {
        const HWND parent = GetParent(window);
        const HWND next = GetNextDlgTabItem(parent, window, FALSE);
        SetFocus(next && next != window ? next : parent);
    }
    if (!IsWindowVisible(window)) {
        EnableWindow(window, enabled ? TRUE : FALSE);
        return;
    }
    // The button draws its new state at the window's next paint, not at
    // once: a refresh that disables it and enables it again before then
    // shows no change at all.
    SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    const bool wasEnabled = EnableWindow(window, enabled ? TRUE : FALSE) == FALSE;
    SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    if (wasEnabled != enabled)
        InvalidateRect(window, nullptr, TRUE);
}

void Win32Button::SetLeft(float left)
{
    if (!SetWindowPos(window_.Get(), nullptr, TwipsToPixels(left, dpi_), TwipsToPixels(top_, dpi_), 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        ThrowLastError(L"SetWindowPos (button)");
    left_ = left;
}

void Win32Button::FollowScale(HFONT font, int dpi)
{
    dpi_ = dpi;
    SendMessageW(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!SetWindowPos(window_.Get(), nullptr, TwipsToPixels(left_, dpi), TwipsToPixels(top_, dpi),
                      TwipsToPixels(width_, dpi), TwipsToPixels(height_, dpi), SWP_NOZORDER | SWP_NOACTIVATE))
        ThrowLastError(L"SetWindowPos (button)");
    InvalidateRect(window_.Get(), nullptr, TRUE);
}

void Win32Button::ShowAsDefault(bool isDefault)
{
    const LONG_PTR type = GetWindowLongPtrW(window_.Get(), GWL_STYLE) & BS_TYPEMASK;
    const LONG_PTR wanted = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (type != wanted)
        SendMessageW(window_.Get(), BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
}

LRESULT CALLBACK Win32Button::ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self)
{
    auto* button = reinterpret_cast<Win32Button*>(self);
    if (message == WM_NCDESTROY) {
        CommonControls().RemoveWindowSubclass(window, ButtonProc, id);
        button->window_.Release();  // destroyed with its form
    }
    const LRESULT result = CommonControls().DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_SETFOCUS && button->onFocused_)
        Guarded(false, [&] {
            button->onFocused_(window);
            return true;
        });
    return result;
}

}  // namespace dovrel::win32
