#include "platform/win32/Win32MainForm.h"

#include <commctrl.h>

#include "platform/Error.h"
#include "platform/win32/Screen.h"
#include "platform/win32/Twips.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Forms.h"

namespace dovrel::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"DovrelPortsWindow";
constexpr UINT_PTR kInitTimerId = 1;
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kFormExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

// The port window's design, in twips.
constexpr float kClientWidth = 5475;
constexpr float kClientHeight = 2355;
constexpr float kClientLeft = 1530;
constexpr float kClientTop = 1950;

constexpr ControlDesign kListDesign = {100, L"", 120, 120, 3795, 2115};
// In the order they are created.
constexpr ControlDesign kButtonDesigns[] = {
    {101, L"Help", 4020, 1800, 1335, 375},
    {102, L"Delete...", 4020, 1380, 1335, 375},
    {103, L"Add...", 4020, 960, 1335, 375},
    {104, L"Settings...", 4020, 540, 1335, 375},
    {IDCANCEL, L"Cancel", 4020, 120, 1335, 375},  // Esc presses it
};
enum ButtonIndex { kHelp, kDelete, kAdd, kSettings, kCancel };

// The window's rectangle on the screen for the design's client area.
RECT DesignFrame(int dpi)
{
    RECT frame = {0, 0, TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi)};
    if (!AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle))
        ThrowLastError(L"AdjustWindowRectEx");
    OffsetRect(&frame, TwipsToPixels(kClientLeft, dpi), TwipsToPixels(kClientTop, dpi));
    return frame;
}

RECT DesignBounds(const ControlDesign& design, int dpi)
{
    return {TwipsToPixels(design.left, dpi), TwipsToPixels(design.top, dpi),
            TwipsToPixels(design.left + design.width, dpi), TwipsToPixels(design.top + design.height, dpi)};
}

// The window system's shift state as the key handler sees it: 1 Shift,
// 2 Ctrl, 4 Alt.
std::int16_t CurrentShiftState()
{
    std::int16_t shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= 2;
    if (GetKeyState(VK_MENU) < 0)
        shift |= 4;
    return shift;
}

}  // namespace

Win32MainForm::Win32MainForm(Win32Forms& runtime) : runtime_(runtime), dpi_(ScreenDpi())
{
    Create(kFormClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), kFormExStyle, L"Ports", kFormStyle,
           DesignFrame(dpi_));

    font_.Reset(CreateFontW(-MulDiv(9, dpi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            L"Tahoma"));
    if (!font_)
        ThrowLastError(L"CreateFont");
    const auto font = static_cast<HFONT>(font_.Get());

    tmrInit_ = std::make_unique<Win32Timer>(Handle(), kInitTimerId, 1, *this);
    lvPorts_ = std::make_unique<Win32ListView>(Handle(), kListDesign.id, DesignBounds(kListDesign, dpi_), *this);
    SendMessageW(lvPorts_->Window(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    lvPortsExtent_ = std::make_unique<Win32Extent>(lvPorts_->Window(), kListDesign, dpi_);
    for (const ControlDesign& design : kButtonDesigns)
        buttons_.push_back(std::make_unique<Win32Button>(Handle(), design, font, dpi_,
                                                         [this](HWND button) { OnControlFocused(button); }));
    ArrangeTabOrder();
}

Win32MainForm::~Win32MainForm()
{
    // The controls let go of their windows first, and the windows go before
    // the font they are drawn with.
    buttons_.clear();
    lvPorts_.reset();
    DestroyDetached();
}

MainFormControls Win32MainForm::Controls()
{
    return MainFormControls{*this,
                            *tmrInit_,
                            *lvPorts_,
                            *lvPortsExtent_,
                            *buttons_[kHelp],
                            *buttons_[kDelete],
                            *buttons_[kAdd],
                            *buttons_[kSettings],
                            *buttons_[kCancel]};
}

// Tab moves through the controls in the window's child order: the list,
// then the buttons from "Cancel" down to "Help".
void Win32MainForm::ArrangeTabOrder()
{
    const HWND order[] = {lvPorts_->Window(),           buttons_[kCancel]->Window(), buttons_[kSettings]->Window(),
                          buttons_[kAdd]->Window(),     buttons_[kDelete]->Window(), buttons_[kHelp]->Window()};
    HWND previous = HWND_TOP;
    for (HWND control : order) {
        if (!SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
            ThrowLastError(L"SetWindowPos (tab order)");
        previous = control;
    }
}

WindowHandle Win32MainForm::hWnd() const
{
    if (!Handle())
        throw Error(kErrSystem, L"The port window has been closed.");
    return ToWindowHandle(Handle());
}

RECT Win32MainForm::ClientRect() const
{
    RECT client = {};
    if (!Handle() || !GetClientRect(Handle(), &client))
        throw Error(kErrSystem, L"The port window does not exist.");
    return client;
}

float Win32MainForm::ScaleWidth() const
{
    return PixelsToTwips(ClientRect().right, dpi_);
}

float Win32MainForm::ScaleHeight() const
{
    return PixelsToTwips(ClientRect().bottom, dpi_);
}

void Win32MainForm::Show()
{
    if (state_ == State::Unloading || state_ == State::Unloaded)
        throw Error(kErrSystem, L"The port window has been closed.");
    if (state_ == State::Made) {
        state_ = State::Loading;
        if (onLoad)
            DispatchEvent(onLoad);
        state_ = State::Loaded;
        // Only now: a tick must not find the form still loading, even while
        // an error report from the load waits for the user.
        tmrInit_->OnFormLoaded();
    }
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    if (!lastFocus_)
        SetFocus(lvPorts_->Window());
    UpdateWindow(Handle());
    shown_ = true;
}

void Win32MainForm::Unload()
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
    tmrInit_->OnFormUnloaded();
    Destroy();
}

void Win32MainForm::RunHandler(const std::function<void()>& handler)
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
    }
}

bool Win32MainForm::PreviewKey(MSG& message)
{
    if (state_ != State::Loaded || !onKeyDown || (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN))
        return false;
    if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd))
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

void Win32MainForm::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return;
    auto source = reinterpret_cast<HWND>(lParam);
    // Esc arrives as IDCANCEL, from the dialog manager, without a window.
    if (!source && LOWORD(wParam) == IDCANCEL)
        source = buttons_[kCancel]->Window();
    for (const auto& button : buttons_) {
        if (button->Window() == source && button->Enabled() && button->onClick) {
            RunHandler(button->onClick);
            return;
        }
    }
}

void Win32MainForm::OnClose()
{
    // A handler waiting in a modal loop finishes first.
    if (state_ == State::Loaded && handlersRunning_ > 0)
        closeWaiting_ = true;
    else
        Unload();
}

void Win32MainForm::OnEndSession(bool ending)
{
    // The process may end as soon as this returns, whatever handler waits.
    if (ending)
        Unload();
}

// --- the keyboard focus ---

bool Win32MainForm::IsControl(HWND window) const
{
    if (!window)
        return false;
    if (lvPorts_ && window == lvPorts_->Window())
        return true;
    for (const auto& button : buttons_)
        if (button->Window() == window)
            return true;
    return false;
}

void Win32MainForm::OnControlFocused(HWND control)
{
    lastFocus_ = control;
    // As in a dialog: the focused button is the one Enter presses, and with
    // no default button of its own, the window shows none otherwise.
    for (const auto& button : buttons_)
        button->ShowAsDefault(button->Window() == control);
}

// The dialog manager asks for the default button as it moves the focus and
// takes any other button that shows as default back to a plain one. The
// answer matches what OnControlFocused shows: the focused button, or none.
LRESULT Win32MainForm::DefaultButtonAnswer() const
{
    const HWND focus = GetFocus();
    for (const auto& button : buttons_)
        if (button->Window() == focus)
            return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
    return 0;
}

// The control that had the focus when it still can take it; otherwise the
// next one in tab order that can.
HWND Win32MainForm::FocusCandidate() const
{
    const HWND last = IsControl(lastFocus_) ? lastFocus_ : nullptr;
    if (last && IsWindowVisible(last) && IsWindowEnabled(last))
        return last;
    const HWND next = GetNextDlgTabItem(Handle(), last, FALSE);
    return IsControl(next) ? next : nullptr;
}

void Win32MainForm::RestoreFocus()
{
    if (const HWND control = FocusCandidate())
        SetFocus(control);
}

void Win32MainForm::KeepFocusInWindow()
{
    if (Handle() && GetActiveWindow() == Handle() && !IsControl(GetFocus()))
        RestoreFocus();
}

void Win32MainForm::OnActivate(WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (IsControl(focus))
            lastFocus_ = focus;
    } else if (!HIWORD(wParam)) {
        RestoreFocus();
    }
}

LRESULT Win32MainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && header->code == NM_SETFOCUS && lvPorts_ && header->hwndFrom == lvPorts_->Window())
            OnControlFocused(header->hwndFrom);
        break;
    }
    case WM_TIMER:
        if (tmrInit_ && wParam == tmrInit_->Id())
            tmrInit_->OnTick();
        return 0;
    case WM_SIZE:
        // The layout follows a placement restored while the form loads.
        if ((state_ == State::Loading || state_ == State::Loaded) && onResize)
            DispatchEvent(onResize);
        return 0;
    case WM_CLOSE:
        OnClose();
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
        state_ = State::Unloaded;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

}  // namespace dovrel::win32
