#pragma once

#include <windows.h>

#include <functional>

#include "platform/FormsRuntime.h"
#include "platform/win32/CallbackGuard.h"

namespace dovrel::win32 {

// Where a control of the port window's design sits, in twips.
struct ControlDesign {
    int id;
    const wchar_t* caption;
    float left, top, width, height;
};

// A push button of the port window. The window is a child of the form and
// goes with it; the object only watches it.
class Win32Button final : public CommandButton {
public:
    // onFocused runs whenever the button gets the keyboard focus.
    Win32Button(HWND parent, const ControlDesign& design, HFONT font, int dpi,
                std::function<void(HWND button)> onFocused);
    ~Win32Button() override;
    Win32Button(const Win32Button&) = delete;
    Win32Button& operator=(const Win32Button&) = delete;

    HWND Window() const { return window_; }
    WindowHandle hWnd() const override { return reinterpret_cast<WindowHandle>(window_); }
    bool Enabled() const override { return IsWindowEnabled(window_) != FALSE; }
    // A button that has the focus hands it to the next control in tab order
    // before it is disabled, as the dialog manager does.
    void SetEnabled(bool enabled) override;
    float Left() const override { return left_; }
    void SetLeft(float left) override;
    float Top() const override { return top_; }
    float Width() const override { return width_; }
    float Height() const override { return height_; }

    // Drawn as the default push button (the one Enter presses), or not.
    void ShowAsDefault(bool isDefault);

private:
    static LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);

    HWND window_ = nullptr;  // destroyed with the form
    float left_, top_, width_, height_;
    int dpi_;
    std::function<void(HWND)> onFocused_;
};

// The list's place on the port window, kept in twips as it was set.
class Win32Extent final : public ControlExtent {
public:
    Win32Extent(HWND control, const ControlDesign& design, int dpi);
    float Left() const override { return left_; }
    float Top() const override { return top_; }
    float Width() const override { return width_; }
    float Height() const override { return height_; }
    void Move(float left, float top, float width, float height) override;

private:
    HWND control_;
    float left_, top_, width_, height_;
    int dpi_;
};

// A timer of the form: it runs while enabled and the form is loaded, and its
// ticks go to the form's events.
class Win32Timer final : public Timer {
public:
    Win32Timer(HWND owner, UINT_PTR id, std::int32_t interval, EventSink& events);

    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;
    std::int32_t Interval() const override { return interval_; }

    // A timer enabled at design time starts once its form has loaded.
    void OnFormLoaded();
    void OnFormUnloaded();
    void OnTick();
    UINT_PTR Id() const { return id_; }

private:
    void Start();

    HWND owner_;
    UINT_PTR id_;
    std::int32_t interval_;
    EventSink& events_;
    bool enabled_ = true;
    bool loaded_ = false;
    bool running_ = false;
};

}  // namespace dovrel::win32
