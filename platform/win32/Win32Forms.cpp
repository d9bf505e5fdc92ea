#include "platform/win32/Win32Forms.h"

#include <commctrl.h>

#include <cmath>
#include <vector>

#include "platform/Error.h"
#include "platform/win32/EventDispatch.h"
#include "platform/win32/InputPrompt.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32ListView.h"

namespace dovrel::win32 {

namespace {

constexpr wchar_t kRuntimeClass[] = L"DovrelRuntimeMain";
constexpr wchar_t kFormClass[] = L"DovrelPortsWindow";
constexpr UINT_PTR kInitTimerId = 1;

// The port window's design, in twips (1/1440 inch).
constexpr float kClientWidth = 5475;
constexpr float kClientHeight = 2355;
constexpr float kClientLeft = 1530;
constexpr float kClientTop = 1950;

struct ControlDesign {
    int id;
    const wchar_t* caption;
    float left, top, width, height;
};

constexpr ControlDesign kListDesign = {100, L"", 120, 120, 3795, 2115};
// In the order they are created.
constexpr ControlDesign kButtonDesigns[] = {
    {101, L"Help", 4020, 1800, 1335, 375},
    {102, L"Delete...", 4020, 1380, 1335, 375},
    {103, L"Add...", 4020, 960, 1335, 375},
    {104, L"Settings...", 4020, 540, 1335, 375},
    {IDCANCEL, L"Cancel", 4020, 120, 1335, 375},  // Esc presses it
};

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int ToPixels(float twips, int dpi)
{
    return static_cast<int>(std::lround(twips * static_cast<float>(dpi) / 1440.0f));
}

float ToTwips(int pixels, int dpi)
{
    return static_cast<float>(pixels) * 1440.0f / static_cast<float>(dpi);
}

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        ThrowLastError(L"RegisterClassEx");
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

// --- controls ---

class Win32Button final : public CommandButton {
public:
    Win32Button(HWND parent, const ControlDesign& design, HFONT font, int dpi)
        : left_(design.left), top_(design.top), width_(design.width), height_(design.height), dpi_(dpi)
    {
        window_ = CreateWindowExW(0, WC_BUTTONW, design.caption,
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, ToPixels(left_, dpi),
                                  ToPixels(top_, dpi), ToPixels(width_, dpi), ToPixels(height_, dpi), parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), GetModuleHandleW(nullptr),
                                  nullptr);
        if (!window_)
            ThrowLastError(L"CreateWindowEx (button)");
        SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }

    HWND Window() const { return window_; }
    WindowHandle hWnd() const override { return reinterpret_cast<WindowHandle>(window_); }
    bool Enabled() const override { return IsWindowEnabled(window_) != FALSE; }
    void SetEnabled(bool enabled) override
    {
        if (!IsWindow(window_))
            throw Error(kErrSystem, L"The button no longer exists.");
        // Disabling the focused button would leave the keyboard nowhere.
        if (!enabled && GetFocus() == window_)
            SendMessageW(GetParent(window_), WM_NEXTDLGCTL, 0, FALSE);
        EnableWindow(window_, enabled ? TRUE : FALSE);
    }
    float Left() const override { return left_; }
    void SetLeft(float left) override
    {
        if (!SetWindowPos(window_, nullptr, ToPixels(left, dpi_), ToPixels(top_, dpi_), 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
            ThrowLastError(L"SetWindowPos (button)");
        left_ = left;
    }
    float Top() const override { return top_; }
    float Width() const override { return width_; }
    float Height() const override { return height_; }

private:
    HWND window_ = nullptr;  // destroyed with the form
    float left_, top_, width_, height_;
    int dpi_;
};

// The list's place on the port window, kept in twips as it was set.
class Win32Extent final : public ControlExtent {
public:
    Win32Extent(HWND control, const ControlDesign& design, int dpi)
        : control_(control), left_(design.left), top_(design.top), width_(design.width), height_(design.height),
          dpi_(dpi)
    {
    }
    float Left() const override { return left_; }
    float Top() const override { return top_; }
    float Width() const override { return width_; }
    float Height() const override { return height_; }
    void Move(float left, float top, float width, float height) override
    {
        if (!(width >= 0) || !(height >= 0))
            throw Error(kErrInvalidPropertyValue, L"Invalid property value.");
        if (!MoveWindow(control_, ToPixels(left, dpi_), ToPixels(top, dpi_), ToPixels(width, dpi_),
                        ToPixels(height, dpi_), TRUE))
            ThrowLastError(L"MoveWindow (list)");
        left_ = left;
        top_ = top;
        width_ = width;
        height_ = height;
    }

private:
    HWND control_;
    float left_, top_, width_, height_;
    int dpi_;
};

class Win32Timer final : public Timer {
public:
    Win32Timer(HWND owner, UINT_PTR id, std::int32_t interval) : owner_(owner), id_(id), interval_(interval) {}

    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override
    {
        enabled_ = enabled;
        if (running_ && !enabled) {
            KillTimer(owner_, id_);
            running_ = false;
        } else if (enabled && loaded_) {
            Start();
        }
    }
    std::int32_t Interval() const override { return interval_; }

    // A timer that is enabled at design time runs from the moment its form
    // is loaded.
    void OnFormLoaded()
    {
        loaded_ = true;
        if (enabled_)
            Start();
    }
    void OnFormUnloaded()
    {
        if (running_)
            KillTimer(owner_, id_);
        running_ = false;
        loaded_ = false;
    }
    void OnTick()
    {
        if (enabled_ && onTimer)
            DispatchEvent(onTimer);
    }
    UINT_PTR Id() const { return id_; }

private:
    void Start()
    {
        if (!SetTimer(owner_, id_, static_cast<UINT>(interval_), nullptr))
            ThrowLastError(L"SetTimer");
        running_ = true;
    }

    HWND owner_;
    UINT_PTR id_;
    std::int32_t interval_;
    bool enabled_ = true;
    bool loaded_ = false;
    bool running_ = false;
};

// --- the port window ---

class Win32MainForm final : public Form {
public:
    explicit Win32MainForm(Win32Forms& runtime);
    ~Win32MainForm() override;

    HWND Window() const { return window_; }
    bool Loaded() const { return loaded_; }
    MainFormControls Controls();

    WindowHandle hWnd() const override { return reinterpret_cast<WindowHandle>(window_); }
    float ScaleWidth() const override;
    float ScaleHeight() const override;
    void Show() override;
    void Unload() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void ArrangeTabOrder();
    RECT ClientRect() const;

    Win32Forms& runtime_;
    int dpi_;
    HWND window_ = nullptr;  // owned; see the destructor
    UniqueGdiObject font_;
    std::unique_ptr<Win32Timer> tmrInit_;
    std::unique_ptr<Win32ListView> lvPorts_;
    std::unique_ptr<Win32Extent> lvPortsExtent_;
    std::vector<std::unique_ptr<Win32Button>> buttons_;  // in creation order
    HWND lastFocus_ = nullptr;
    bool loaded_ = false;
    bool unloaded_ = false;
};

Win32MainForm::Win32MainForm(Win32Forms& runtime) : runtime_(runtime), dpi_(ScreenDpi())
{
    RegisterWindowClass(kFormClass, WindowProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    const DWORD exStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
    RECT frame = {0, 0, ToPixels(kClientWidth, dpi_), ToPixels(kClientHeight, dpi_)};
    if (!AdjustWindowRectEx(&frame, style, FALSE, exStyle))
        ThrowLastError(L"AdjustWindowRectEx");
    window_ = CreateWindowExW(exStyle, kFormClass, L"Ports", style, ToPixels(kClientLeft, dpi_) + frame.left,
                              ToPixels(kClientTop, dpi_) + frame.top, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!window_)
        ThrowLastError(L"CreateWindowEx (port window)");

    font_.Reset(CreateFontW(-MulDiv(9, dpi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            L"Tahoma"));
    if (!font_)
        ThrowLastError(L"CreateFont");
    const auto font = static_cast<HFONT>(font_.Get());

    tmrInit_ = std::make_unique<Win32Timer>(window_, kInitTimerId, 1);
    const RECT listBounds = {ToPixels(kListDesign.left, dpi_), ToPixels(kListDesign.top, dpi_),
                             ToPixels(kListDesign.left + kListDesign.width, dpi_),
                             ToPixels(kListDesign.top + kListDesign.height, dpi_)};
    lvPorts_ = std::make_unique<Win32ListView>(window_, kListDesign.id, listBounds);
    SendMessageW(lvPorts_->Window(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    lvPortsExtent_ = std::make_unique<Win32Extent>(lvPorts_->Window(), kListDesign, dpi_);
    for (const ControlDesign& design : kButtonDesigns)
        buttons_.push_back(std::make_unique<Win32Button>(window_, design, font, dpi_));
    ArrangeTabOrder();
}

Win32MainForm::~Win32MainForm()
{
    // The list detaches from its windows before they go.
    lvPorts_.reset();
    if (window_)
        DestroyWindow(window_);
}

MainFormControls Win32MainForm::Controls()
{
    return MainFormControls{*this,        *tmrInit_,    *lvPorts_,    *lvPortsExtent_, *buttons_[0],
                            *buttons_[1], *buttons_[2], *buttons_[3], *buttons_[4]};
}

// Tab moves through the controls in the window's child order: the list,
// then the buttons from "Cancel" down to "Help".
void Win32MainForm::ArrangeTabOrder()
{
    const HWND order[] = {lvPorts_->Window(), buttons_[4]->Window(), buttons_[3]->Window(), buttons_[2]->Window(),
                          buttons_[1]->Window(), buttons_[0]->Window()};
    HWND previous = HWND_TOP;
    for (HWND control : order) {
        if (!SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
            ThrowLastError(L"SetWindowPos (tab order)");
        previous = control;
    }
}

RECT Win32MainForm::ClientRect() const
{
    RECT client = {};
    if (!window_ || !GetClientRect(window_, &client))
        throw Error(kErrSystem, L"The port window does not exist.");
    return client;
}

float Win32MainForm::ScaleWidth() const
{
    return ToTwips(ClientRect().right, dpi_);
}

float Win32MainForm::ScaleHeight() const
{
    return ToTwips(ClientRect().bottom, dpi_);
}

void Win32MainForm::Show()
{
    if (unloaded_)
        throw Error(kErrSystem, L"The port window has been closed.");
    if (!loaded_) {
        loaded_ = true;
        tmrInit_->OnFormLoaded();
        if (onLoad)
            DispatchEvent(onLoad);
    }
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    if (!lastFocus_)
        SetFocus(lvPorts_->Window());
    UpdateWindow(window_);
}

void Win32MainForm::Unload()
{
    if (!loaded_ || unloaded_)
        return;
    std::int16_t cancel = 0;
    if (onUnload)
        DispatchEvent([&] { onUnload(cancel); });
    if (cancel != 0)
        return;
    unloaded_ = true;
    tmrInit_->OnFormUnloaded();
    DestroyWindow(window_);
}

void Win32MainForm::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return;
    HWND source = reinterpret_cast<HWND>(lParam);
    // Esc arrives as IDCANCEL, from the dialog manager, without a window.
    if (!source && LOWORD(wParam) == IDCANCEL)
        source = buttons_[4]->Window();
    for (const auto& button : buttons_) {
        if (button->Window() == source && button->Enabled() && button->onClick) {
            DispatchEvent(button->onClick);
            return;
        }
    }
}

LRESULT Win32MainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case WM_TIMER:
        if (wParam == tmrInit_->Id())
            tmrInit_->OnTick();
        return 0;
    case WM_SIZE:
        if (onResize)
            DispatchEvent(onResize);
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_SETCURSOR:
        if (runtime_.ScreenMousePointer() == MousePointer::Hourglass) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_ACTIVATE:
        // Give the keyboard back to the control that had it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window_, focus))
                lastFocus_ = focus;
        } else if (lastFocus_ && IsWindow(lastFocus_)) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_DESTROY:
        unloaded_ = true;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Win32MainForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<Win32MainForm*>(create->lpCreateParams)->window_ = window;
    }
    auto* form = reinterpret_cast<Win32MainForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (form)
            form->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return form ? form->HandleMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

// --- the runtime ---

Win32Forms::Win32Forms(std::wstring appTitle) : appTitle_(std::move(appTitle))
{
    RegisterWindowClass(kRuntimeClass, DefWindowProcW, nullptr);
    runtimeWindow_.Reset(CreateWindowExW(0, kRuntimeClass, appTitle_.c_str(), WS_OVERLAPPED | WS_SYSMENU, 0, 0, 0, 0,
                                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!runtimeWindow_)
        ThrowLastError(L"CreateWindowEx (runtime window)");
}

Win32Forms::~Win32Forms() = default;

HWND Win32Forms::MainFormWindow() const
{
    return mainForm_ ? mainForm_->Window() : nullptr;
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
    HWND owner = DialogOwner();
    const int answer = MessageBoxW(owner, text.c_str(), appTitle_.c_str(), static_cast<UINT>(style));
    if (answer == 0)
        ThrowLastError(L"MessageBox");
    return answer;
}

std::wstring Win32Forms::InputBox(const std::wstring& prompt, const std::wstring& defaultText)
{
    return ShowInputPrompt(DialogOwner(), appTitle_, prompt, defaultText);
}

bool Win32Forms::PreviewKey(MSG& message)
{
    HWND form = MainFormWindow();
    if (!form || !mainForm_->onKeyDown || (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN))
        return false;
    if (message.hwnd != form && !IsChild(form, message.hwnd))
        return false;
    std::int16_t keyCode = static_cast<std::int16_t>(message.wParam);
    std::int16_t shift = CurrentShiftState();
    DispatchEvent([&] { mainForm_->onKeyDown(keyCode, shift); });
    // A handler that sets the key code to 0 keeps the key from the control.
    if (keyCode == 0)
        return true;
    message.wParam = static_cast<WPARAM>(static_cast<std::uint16_t>(keyCode));
    return !IsWindow(message.hwnd);
}

int Win32Forms::Run()
{
    if (!mainForm_ || !mainForm_->Loaded() || !mainForm_->Window())
        return 0;
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1)
            ThrowLastError(L"GetMessage");
        if (PreviewKey(message))
            continue;
        HWND form = MainFormWindow();
        if (form && IsDialogMessageW(form, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace dovrel::win32
