#include "platform/win32/Win32Controls.h"

#include <commctrl.h>

#include <utility>

#include "platform/Error.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Twips.h"
#include "platform/win32/Win32Error.h"

namespace dovrel::win32 {

// --- button ---

Win32Button::Win32Button(HWND parent, const ControlDesign& design, HFONT font, int dpi,
                         std::function<void(HWND)> onFocused)
    : left_(design.left), top_(design.top), width_(design.width), height_(design.height), dpi_(dpi),
      onFocused_(std::move(onFocused))
{
    window_ = CreateWindowExW(0, WC_BUTTONW, design.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                              TwipsToPixels(left_, dpi), TwipsToPixels(top_, dpi), TwipsToPixels(width_, dpi),
                              TwipsToPixels(height_, dpi), parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), GetModuleHandleW(nullptr),
                              nullptr);
    if (!window_)
        ThrowLastError(L"CreateWindowEx (button)");
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!CommonControls().SetWindowSubclass(window_, ButtonProc, 0, reinterpret_cast<DWORD_PTR>(this))) {
        DestroyWindow(window_);
        throw Error(kErrSystem, L"The button could not be attached to its window.");
    }
}

Win32Button::~Win32Button()
{
    if (window_)
        CommonControls().RemoveWindowSubclass(window_, ButtonProc, 0);
}

void Win32Button::SetEnabled(bool enabled)
{
    if (!IsWindow(window_))
        throw Error(kErrSystem, L"The button no longer exists.");
    // Disabling the focused control would leave the keyboard nowhere.
    if (!enabled && GetFocus() == window_) {
        const HWND parent = GetParent(window_);
        const HWND next = GetNextDlgTabItem(parent, window_, FALSE);
        SetFocus(next && next != window_ ? next : parent);
    }
    EnableWindow(window_, enabled ? TRUE : FALSE);
}

void Win32Button::SetLeft(float left)
{
    if (!SetWindowPos(window_, nullptr, TwipsToPixels(left, dpi_), TwipsToPixels(top_, dpi_), 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        ThrowLastError(L"SetWindowPos (button)");
    left_ = left;
}

void Win32Button::ShowAsDefault(bool isDefault)
{
    const LONG_PTR type = GetWindowLongPtrW(window_, GWL_STYLE) & BS_TYPEMASK;
    const LONG_PTR wanted = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (type != wanted)
        SendMessageW(window_, BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
}

LRESULT CALLBACK Win32Button::ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self)
{
    auto* button = reinterpret_cast<Win32Button*>(self);
    if (message == WM_NCDESTROY) {
        CommonControls().RemoveWindowSubclass(window, ButtonProc, id);
        button->window_ = nullptr;
    }
    const LRESULT result = CommonControls().DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_SETFOCUS && button->onFocused_)
        Guarded(false, [&] {
            button->onFocused_(window);
            return true;
        });
    return result;
}

// --- the list's place ---

Win32Extent::Win32Extent(HWND control, const ControlDesign& design, int dpi)
    : control_(control), left_(design.left), top_(design.top), width_(design.width), height_(design.height),
      dpi_(dpi)
{
}

void Win32Extent::Move(float left, float top, float width, float height)
{
    if (!(width >= 0) || !(height >= 0))
        throw Error(kErrInvalidPropertyValue, L"Invalid property value.");
    if (!MoveWindow(control_, TwipsToPixels(left, dpi_), TwipsToPixels(top, dpi_), TwipsToPixels(width, dpi_),
                    TwipsToPixels(height, dpi_), TRUE))
        ThrowLastError(L"MoveWindow (list)");
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

// --- timer ---

Win32Timer::Win32Timer(HWND owner, UINT_PTR id, std::int32_t interval, EventSink& events)
    : owner_(owner), id_(id), interval_(interval), events_(events)
{
}

void Win32Timer::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (running_ && !enabled) {
        KillTimer(owner_, id_);
        running_ = false;
    } else if (enabled && loaded_) {
        Start();
    }
}

void Win32Timer::OnFormLoaded()
{
    loaded_ = true;
    if (enabled_)
        Start();
}

void Win32Timer::OnFormUnloaded()
{
    if (running_)
        KillTimer(owner_, id_);
    running_ = false;
    loaded_ = false;
}

void Win32Timer::OnTick()
{
    if (enabled_ && onTimer)
        events_.RunHandler(onTimer);
}

void Win32Timer::Start()
{
    if (!SetTimer(owner_, id_, static_cast<UINT>(interval_), nullptr))
        ThrowLastError(L"SetTimer");
    running_ = true;
}

}  // namespace dovrel::win32
