#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/FormsRuntime.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32ListView.h"
#include "platform/win32/Window.h"

namespace dovrel::win32 {

class Win32Forms;

// The port window "Ports" with its list, its five buttons and its timer.
//
// It decides when the program's handlers may run: events reach them only
// while the form is loaded and not being unloaded (the resize layout also
// while it loads), so a tick, a click or a close that arrives while a
// handler waits in a modal loop never finds a half-made or half-gone form.
// It keeps the keyboard focus on one of its controls, as the dialog manager
// does, and shows the focused button as the default push button.
class Win32MainForm final : public Window, public Form, public EventSink {
public:
    explicit Win32MainForm(Win32Forms& runtime);
    ~Win32MainForm() override;

    MainFormControls Controls();
    int Dpi() const { return dpi_; }
    // Shown at least once; false when loading or showing it failed.
    bool WasShown() const { return shown_; }

    // Raises the program's error once the window is gone.
    WindowHandle hWnd() const override;
    float ScaleWidth() const override;
    float ScaleHeight() const override;
    void Show() override;
    void Unload() override;

    void RunHandler(const std::function<void()>& handler) override;
    // Key preview: the form's key handler sees a key of the window before
    // the focused control does. True when the key is used up.
    bool PreviewKey(MSG& message);

private:
    enum class State { Made, Loading, Loaded, Unloading, Unloaded };

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnClose();
    void OnEndSession(bool ending);
    void OnActivate(WPARAM wParam);
    void OnControlFocused(HWND control);
    LRESULT DefaultButtonAnswer() const;
    bool IsControl(HWND window) const;
    HWND FocusCandidate() const;
    void RestoreFocus();
    void KeepFocusInWindow();
    void ArrangeTabOrder();
    RECT ClientRect() const;

    Win32Forms& runtime_;
    int dpi_;
    UniqueGdiObject font_;
    std::unique_ptr<Win32Timer> tmrInit_;
    std::unique_ptr<Win32ListView> lvPorts_;
    std::unique_ptr<Win32Extent> lvPortsExtent_;
    std::vector<std::unique_ptr<Win32Button>> buttons_;  // in creation order
    State state_ = State::Made;
    bool shown_ = false;
    int handlersRunning_ = 0;
    bool closeWaiting_ = false;  // a close came while a handler ran
    HWND lastFocus_ = nullptr;   // the control that has, or last had, the focus
};

}  // namespace dovrel::win32
