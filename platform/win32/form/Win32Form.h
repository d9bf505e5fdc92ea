#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/FormDefinition.h"
#include "platform/FormsRuntime.h"
#include "platform/win32/form/CallbackGuard.h"
#include "platform/win32/system/UniqueHandle.h"
#include "platform/win32/controls/Win32Button.h"
#include "platform/win32/controls/Win32Extent.h"
#include "platform/win32/controls/Win32ListView.h"
#include "platform/win32/controls/Win32Menu.h"
#include "platform/win32/controls/Win32Timer.h"
#include "platform/win32/form/Window.h"

namespace dovrel::win32 {

class Win32FormsRuntime;

// A form made from its definition: a top-level window with its list views,
// buttons and timers, laid out in twips at the scale of the monitor it is
// on, which it follows from one monitor to another.
//
// It decides when the program's handlers may run: events reach them only
// while the form is loaded and not being unloaded (the resize layout also
// while it loads), so a tick, a click or a close that arrives while a
// handler waits in a modal loop never finds a half-made or half-gone form.
// Handlers run one at a time: a timer's tick that comes while a handler
// waits in a modal loop (a box, a dialog, a menu) is held, and delivered
// once when that handler has returned.
// It keeps the keyboard focus on one of its controls, as the dialog manager
// does, and shows the focused button as the default push button.
//
// Its members go in the reverse of their order: the window first, which
// takes its controls' windows with it, then the controls, then the font
// they were drawn with.
class Win32Form final : public Form, public EventSink, private MessageHandler {
public:
    Win32Form(const FormDefinition& definition, Win32FormsRuntime& runtime);
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    FormControls& Controls() { return controls_; }
    const Window& TheWindow() const { return window_; }
    // Shown at least once; false when loading or showing it failed.
    bool WasShown() const { return shown_; }
    // Being unloaded or gone, or to be unloaded when the running handler
    // returns.
    bool Closing() const { return closeWaiting_ || state_ == State::Unloading || state_ == State::Unloaded; }

    // Raises the program's error once the window is gone.
    WindowHandle hWnd() const override;
    float ScaleWidth() const override;
    float ScaleHeight() const override;
    bool Minimized() const override;
    void SetCaption(const std::wstring& caption) override;
    void Show() override;
    void Unload() override;
    void PopupMenu(const std::string& menu, const ScreenPoint& at) override;

    void RunHandler(const std::function<void()>& handler) override;
    // Key preview: the form's key handler sees a key of the window before
    // the focused control does. True when the key is used up.
    bool PreviewKey(MSG& message);

private:
    enum class State { Made, Loading, Loaded, Unloading, Unloaded };

    void MakeControls();
    void FollowScale(int dpi);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void MakeMenus();
    void DeliverHeldTicks();
    void ArrangeTabOrder();
    RECT ClientRect() const;
    RECT PixelBounds(const ControlDefinition& control) const;

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnControlNotification(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    void OnTimer(UINT_PTR id);
    void OnClose();
    void OnEndSession(bool ending);

    // Win32FormKeyboard.cpp: the keyboard focus and the default button.
    void OnActivate(WPARAM wParam);
    void OnControlFocused(HWND control);
    LRESULT DefaultButtonAnswer() const;
    bool IsControl(HWND window) const;
    HWND FirstInTabOrder() const;
    HWND FocusCandidate() const;
    void RestoreFocus();
    void KeepFocusInWindow();

    const FormDefinition definition_;
    Win32FormsRuntime& runtime_;
    int dpi_;  // the scale the window is drawn at
    State state_ = State::Made;
    bool shown_ = false;
    int handlersRunning_ = 0;
    bool closeWaiting_ = false;  // a close came while a handler ran
    HWND lastFocus_ = nullptr;   // the control that has, or last had, the focus

    UniqueFont font_;
    std::vector<std::unique_ptr<Win32Button>> buttons_;
    Win32Button* cancelButton_ = nullptr;  // the one Esc presses
    std::vector<std::unique_ptr<Win32ListView>> lists_;
    std::vector<std::unique_ptr<Win32Extent>> extents_;
    std::vector<std::unique_ptr<Win32Timer>> timers_;
    std::vector<std::unique_ptr<Win32PopupMenu>> menus_;
    std::vector<std::pair<int, HWND>> tabOrder_;  // tab index and control
    FormControls controls_;
    Window window_;
};

}  // namespace dovrel::win32
