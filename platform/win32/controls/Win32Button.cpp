#include "platform/win32/controls/Win32Button.h"

#include <commctrl.h>

#include <utility>

#include "platform/Error.h"
#include "platform/Twips.h"
#include "platform/win32/system/LastError.h"

namespace dovrel::win32 {

Win32Button::Win32Button(HWND parent, const ControlDefinition& definition, HFONT font, int dpi, EventSink& events)
    : left_(definition.left), top_(definition.top), width_(definition.width), height_(definition.height), dpi_(dpi),
      events_(events)
{
    const DWORD tabStop = definition.tabIndex >= 0 ? WS_TABSTOP : 0;
    UniqueHwnd window(CreateWindowExW(0, WC_BUTTONW, definition.caption.c_str(),
                                      WS_CHILD | WS_VISIBLE | tabStop | BS_PUSHBUTTON | BS_NOTIFY,
                                      TwipsToPixels(left_, dpi), TwipsToPixels(top_, dpi), TwipsToPixels(width_, dpi),
                                      TwipsToPixels(height_, dpi), parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(definition.id)),
                                      GetModuleHandleW(nullptr), nullptr));
    if (!window)
        ThrowLastError(L"CreateWindowEx (button)");
    SendMessageW(window.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    Own(std::move(window));
}

// With BS_NOTIFY the second press of a double click comes as
// BN_DOUBLECLICKED instead of a click; it clicks again, as a button
// without that style does.
void Win32Button::OnCommand(WORD code)
{
    if ((code == BN_CLICKED || code == BN_DOUBLECLICKED) && Enabled() && onClick)
        events_.RunHandler(onClick);
}

void Win32Button::SetEnabled(bool enabled)
{
    const HWND window = Handle();
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
    if (!SetWindowPos(Handle(), nullptr, TwipsToPixels(left, dpi_), TwipsToPixels(top_, dpi_), 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        ThrowLastError(L"SetWindowPos (button)");
    left_ = left;
}

void Win32Button::FollowScale(HFONT font, int dpi)
{
    dpi_ = dpi;
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!SetWindowPos(Handle(), nullptr, TwipsToPixels(left_, dpi), TwipsToPixels(top_, dpi),
                      TwipsToPixels(width_, dpi), TwipsToPixels(height_, dpi), SWP_NOZORDER | SWP_NOACTIVATE))
        ThrowLastError(L"SetWindowPos (button)");
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Win32Button::ShowAsDefault(bool isDefault)
{
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    const LONG_PTR wanted = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    // The button's other style bits (BS_NOTIFY) go with the new type, for
    // a system that takes the message's word as the whole button style.
    if ((style & BS_TYPEMASK) != wanted)
        SendMessageW(Handle(), BM_SETSTYLE, static_cast<WPARAM>((style & 0xFFFF & ~BS_TYPEMASK) | wanted), TRUE);
}

}  // namespace dovrel::win32
