#pragma once

#include <windows.h>

#include "platform/FormDefinition.h"
#include "platform/FormsRuntime.h"
#include "platform/win32/form/CallbackGuard.h"
#include "platform/win32/controls/ChildControl.h"
#include "platform/win32/form/Window.h"

namespace dovrel::win32 {

// A push button of a form, made from its definition as a child of the
// form's window. A click runs its handler in `events`; it tells its parent
// when it gets the focus (BN_SETFOCUS).
class Win32Button final : public CommandButton, public ChildControl {
public:
    Win32Button(HWND parent, const ControlDefinition& definition, HFONT font, int dpi, EventSink& events);

    WindowHandle hWnd() const override { return ToWindowHandle(Handle()); }
    bool Enabled() const override { return IsWindowEnabled(Handle()) != FALSE; }
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

    // A click, by the mouse, the keyboard or BM_CLICK, while it is enabled.
    void OnCommand(WORD code) override;

private:
    float left_, top_, width_, height_;
    int dpi_;
    EventSink& events_;
};

}  // namespace dovrel::win32
