#include "platform/win32/form/Win32Form.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/Error.h"
#include "platform/Twips.h"
#include "platform/win32/system/LastError.h"
#include "platform/win32/system/Screen.h"
#include "platform/win32/form/Win32FormsRuntime.h"

namespace dovrel::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"DovrelForm";

DWORD FormStyle(const FormDefinition& form)
{
    DWORD style = WS_OVERLAPPED | WS_CAPTION;
    if (form.controlBox)
        style |= WS_SYSMENU;
    if (form.sizable)
        style |= WS_THICKFRAME;
    if (form.minButton)
        style |= WS_MINIMIZEBOX;
    if (form.maxButton)
        style |= WS_MAXIMIZEBOX;
    return style;
}

DWORD FormExStyle(const FormDefinition& form)
{
    return WS_EX_CONTROLPARENT | (form.showInTaskbar ? WS_EX_APPWINDOW : 0);
}

// The window's rectangle on the screen for the design's client area.
RECT DesignFrame(const FormDefinition& form, int dpi)
{
    RECT frame = {0, 0, TwipsToPixels(form.clientWidth, dpi), TwipsToPixels(form.clientHeight, dpi)};
    if (!AdjustWindowRectEx(&frame, FormStyle(form), FALSE, FormExStyle(form)))
        ThrowLastError(L"AdjustWindowRectEx");
    OffsetRect(&frame, TwipsToPixels(form.clientLeft, dpi), TwipsToPixels(form.clientTop, dpi));
    return frame;
}

UniqueFont MakeFont(const FontDefinition& font, int dpi)
{
    UniqueFont made(CreateFontW(-MulDiv(font.points, dpi, 72), 0, 0, 0, font.weight, font.italic, font.underline,
                                     font.strikeOut, static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                     font.face.c_str()));
    if (!made)
        ThrowLastError(L"CreateFont");
    return made;
}

}  // namespace

Win32Form::Win32Form(const FormDefinition& definition, Win32FormsRuntime& runtime)
    : definition_(definition), runtime_(runtime), dpi_(ScreenDpi()), font_(MakeFont(definition.font, dpi_)),
      controls_(*this), window_(kFormClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), FormExStyle(definition),
                                definition.caption.c_str(), FormStyle(definition), DesignFrame(definition, dpi_),
                                *this)
{
    MakeControls();
    MakeMenus();
    ArrangeTabOrder();
    // Where each monitor has its own scale (Windows 10 version 1607 and
    // later), a window opened on a monitor of another scale than the
    // screen's is drawn at that monitor's, with the design's client size.
    const int opened = WindowDpi(window_.hWnd());
    if (opened != dpi_) {
        FollowScale(opened);
        const SIZE frame = FrameAt(FormStyle(definition_), FormExStyle(definition_), opened);
        if (!SetWindowPos(window_.hWnd(), nullptr, 0, 0, TwipsToPixels(definition_.clientWidth, opened) + frame.cx,
                          TwipsToPixels(definition_.clientHeight, opened) + frame.cy,
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
            ThrowLastError(L"SetWindowPos (form)");
    }
}

// The font made again at the new scale and given to every control, whose
// rectangle comes from its twips at that scale, before the old font goes;
// the icons of that scale.
void Win32Form::FollowScale(int dpi)
{
    UniqueFont font = MakeFont(definition_.font, dpi);
    const HFONT handle = font.Get();
    dpi_ = dpi;
    for (const auto& button : buttons_)
        button->FollowScale(handle, dpi);
    for (const auto& list : lists_)
        list->FollowScale(handle, dpi);
    for (const auto& extent : extents_)
        extent->FollowScale(dpi);
    font_ = std::move(font);
    runtime_.Icons().FollowScale(window_.hWnd(), dpi);
}

// The window came onto a monitor of another scale: it takes the rectangle
// the system suggests, its layout follows the new size, and the columns fit
// their texts in the new font.
void Win32Form::OnDpiChanged(int dpi, const RECT& suggested)
{
    if (dpi > 0 && dpi != dpi_)
        FollowScale(dpi);
    if (!SetWindowPos(window_.hWnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                      suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE))
        ThrowLastError(L"SetWindowPos (new scale)");
    for (const auto& list : lists_)
        list->FitColumnsAgain();
}

RECT Win32Form::PixelBounds(const ControlDefinition& control) const
{
    return {TwipsToPixels(control.left, dpi_), TwipsToPixels(control.top, dpi_),
            TwipsToPixels(control.left + control.width, dpi_), TwipsToPixels(control.top + control.height, dpi_)};
}

void Win32Form::MakeControls()
{
    const HWND form = window_.hWnd();
    const HFONT font = font_.Get();
    for (const ControlDefinition& control : definition_.controls) {
        HWND made = nullptr;
        switch (control.kind) {
        case ControlKind::Timer:
            timers_.push_back(std::make_unique<Win32Timer>(form, timers_.size() + 1, control, *this));
            controls_.Add(control.name, *timers_.back());
            break;
        case ControlKind::ListView: {
            lists_.push_back(std::make_unique<Win32ListView>(form, control.id, PixelBounds(control), *this));
            made = lists_.back()->Handle();
            SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            extents_.push_back(std::make_unique<Win32Extent>(made, control, dpi_));
            controls_.Add(control.name, *lists_.back(), *extents_.back());
            break;
        }
        case ControlKind::CommandButton:
            buttons_.push_back(std::make_unique<Win32Button>(form, control, font, dpi_, *this));
            made = buttons_.back()->Handle();
            if (control.cancel)
                cancelButton_ = buttons_.back().get();
            controls_.Add(control.name, *buttons_.back());
            break;
        }
        if (made && control.tabIndex >= 0)
            tabOrder_.emplace_back(control.tabIndex, made);
    }
    std::stable_sort(tabOrder_.begin(), tabOrder_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

// Menu item ids start above every control's, so that none is taken for
// another.
void Win32Form::MakeMenus()
{
    constexpr UINT kFirstMenuItemId = 0x8000;
    UINT nextId = kFirstMenuItemId;
    for (const MenuDefinition& menu : definition_.menus) {
        menus_.push_back(std::make_unique<Win32PopupMenu>(menu, nextId));
        for (const auto& [name, item] : menus_.back()->Items())
            controls_.Add(name, *item);
        nextId += static_cast<UINT>(menu.items.size());
    }
}

// Tab moves through the controls in the window's child order, which is
// made to follow their tab indexes.
void Win32Form::ArrangeTabOrder()
{
    HWND previous = HWND_TOP;
    for (const auto& entry : tabOrder_) {
        if (!SetWindowPos(entry.second, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
            ThrowLastError(L"SetWindowPos (tab order)");
        previous = entry.second;
    }
}

WindowHandle Win32Form::hWnd() const
{
    if (!window_.hWnd())
        throw Error(kErrSystem, L"The window has been closed.");
    return ToWindowHandle(window_.hWnd());
}

RECT Win32Form::ClientRect() const
{
    RECT client = {};
    if (!window_.hWnd() || !GetClientRect(window_.hWnd(), &client))
        throw Error(kErrSystem, L"The window does not exist.");
    return client;
}

float Win32Form::ScaleWidth() const
{
    return PixelsToTwips(ClientRect().right, dpi_);
}

float Win32Form::ScaleHeight() const
{
    return PixelsToTwips(ClientRect().bottom, dpi_);
}

bool Win32Form::Minimized() const
{
    return window_.hWnd() && IsIconic(window_.hWnd());
}

void Win32Form::SetCaption(const std::wstring& caption)
{
    if (!SetWindowTextW(window_.hWnd(), caption.c_str()))
        ThrowLastError(L"SetWindowText");
}

void Win32Form::Show()
{
    if (state_ == State::Unloading || state_ == State::Unloaded)
        throw Error(kErrSystem, L"The window has been closed.");
    if (state_ == State::Made) {
        state_ = State::Loading;
        if (onLoad)
            DispatchEvent(onLoad);
        state_ = State::Loaded;
        // Only now: a tick must not find the form still loading, even while
        // an error report from the load waits for the user.
        for (const auto& timer : timers_)
            timer->OnFormLoaded();
    }
    const HWND window = window_.hWnd();
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    if (!lastFocus_)
        if (const HWND first = FirstInTabOrder())
            SetFocus(first);
    if (!shown_)
        runtime_.FormFirstShown();
    UpdateWindow(window);
    shown_ = true;
}

void Win32Form::Unload()
{
    if (state_ != State::Loaded)
        return;
    state_ = State::Unloading;
    std::int16_t cancel = 0;
    if (onUnload)
        DispatchEvent([&] { onUnload(cancel); });
    if (cancel != 0) {
        state_ = State::Loaded;
        return;
    }
    for (const auto& timer : timers_)
        timer->OnFormUnloaded();
    window_.Destroy();
}

void Win32Form::PopupMenu(const std::string& menu, const ScreenPoint& at)
{
    const auto found = std::find_if(menus_.begin(), menus_.end(), [&](const auto& m) { return m->Name() == menu; });
    if (found == menus_.end())
        throw Error(kErrInvalidIndex, L"The form has no such menu.");
    if (state_ != State::Loaded)
        return;
    Win32MenuItem* chosen = (*found)->Track(window_.hWnd(), at);
    if (chosen && chosen->onClick)
        RunHandler(chosen->onClick);
}

void Win32Form::RunHandler(const std::function<void()>& handler)
{
    if (state_ != State::Loaded)
        return;
    ++handlersRunning_;
    DispatchEvent(handler);
    if (--handlersRunning_ > 0)
        return;
    if (closeWaiting_) {
        closeWaiting_ = false;
        Unload();
    } else {
        KeepFocusInWindow();
        DeliverHeldTicks();
    }
}

void Win32Form::DeliverHeldTicks()
{
    for (const auto& timer : timers_)
        if (state_ == State::Loaded && handlersRunning_ == 0)
            timer->DeliverHeldTick();
}

}  // namespace dovrel::win32
