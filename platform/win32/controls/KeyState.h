#pragma once

#include <windows.h>

#include <cstdint>

namespace dovrel::win32 {

// The window system's shift state as the key handlers see it: 1 Shift,
// 2 Ctrl, 4 Alt, as the keys stand for the message being handled.
inline std::int16_t CurrentShiftState()
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

}  // namespace dovrel::win32
