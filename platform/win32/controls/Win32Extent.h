#pragma once

#include <windows.h>

#include "platform/FormDefinition.h"
#include "platform/FormsRuntime.h"
#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

// Where a control sits on its form, kept in twips as it was last set. It
// only moves the control's window, which it does not own.
class Win32Extent final : public ControlExtent {
public:
    Win32Extent(HWND control, const ControlDefinition& definition, int dpi);
    float Left() const override { return left_; }
    float Top() const override { return top_; }
    float Width() const override { return width_; }
    float Height() const override { return height_; }
    void Move(float left, float top, float width, float height) override;
    // Where its twips are now at this scale.
    void FollowScale(int dpi);

private:
    Borrowed<HWND> control_;  // the control's
    float left_, top_, width_, height_;
    int dpi_;
};

}  // namespace dovrel::win32
