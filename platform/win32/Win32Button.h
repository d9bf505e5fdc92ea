#pragma once

#include <windows.h>

#include <functional>

#include "platform/FormDefinition.h"
#include "platform/FormsRuntime.h"
#include "platform/win32/UniqueHandle.h"

namespace dovrel::win32 {

// A push button of a form, made from its definition as a child of the
// form's window. It owns its window until the window system destroys it
// with the form.
class Win32Button final : public CommandButton {
public:
    // onFocused runs whenever the button gets the keyboard focus.
    Win32Button(HWND parent, const ControlDefinition& definition, HFONT font, int dpi,
                std::function<void(HWND button)> onFocused);
    ~Win32Button() override;
    Win32Button(const Win32Button&) = delete;
    Win32Button& operator=(const Win32Button&) = delete;

    WindowHandle hWnd() const override { return reinterpret_cast<WindowHandle>(window_.Get()); }
    bool Enabled() const override { return IsWindowEnabled(window_.Get()) != FALSE; }
    // A button that has the focus hands it to the next control in tab order
    // before it is disabled, as the dialog manager does.
    void SetEnabled(bool enabled) override;
    float Left() const override { return left_; }
    void SetLeft(float left) override;
    float Top() const override { return top_; }
    float Width() const override { return width_; }
    float Height() const override { return height_; }

    // Drawn with this font, where its twips are at this scale.
    void FollowScale(HFONT font, int dpi);
    // Drawn as the default push button (the one Enter presses), or not.
    void ShowAsDefault(bool isDefault);
    bool IsCancel() const { return cancel_; }

private:
    static LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);

    UniqueHwnd window_;
    float left_, top_, width_, height_;
    int dpi_;
    bool cancel_;
    std::function<void(HWND)> onFocused_;
};

}  // namespace dovrel::win32
