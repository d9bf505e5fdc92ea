#include "platform/win32/controls/Win32Extent.h"

#include "platform/Error.h"
#include "platform/Twips.h"
#include "platform/win32/system/LastError.h"

namespace dovrel::win32 {

Win32Extent::Win32Extent(HWND control, const ControlDefinition& definition, int dpi)
    : control_(control), left_(definition.left), top_(definition.top), width_(definition.width),
      height_(definition.height), dpi_(dpi)
{
}

void Win32Extent::FollowScale(int dpi)
{
    dpi_ = dpi;
    Move(left_, top_, width_, height_);
}

void Win32Extent::Move(float left, float top, float width, float height)
{
    if (!(width >= 0) || !(height >= 0))
        throw Error(kErrInvalidPropertyValue, L"Invalid property value.");
    if (!MoveWindow(control_.Get(), TwipsToPixels(left, dpi_), TwipsToPixels(top, dpi_), TwipsToPixels(width, dpi_),
                    TwipsToPixels(height, dpi_), TRUE))
        ThrowLastError(L"MoveWindow (list)");
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

}  // namespace dovrel::win32
