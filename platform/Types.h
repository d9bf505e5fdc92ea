#pragma once

#include <cstdint>

namespace dovrel {

// The window system's 16-bit truth value: True is -1, False is 0, and any
// non-zero value counts as True where one is tested.
using Truth = std::int16_t;
constexpr Truth kTrue = -1;
constexpr Truth kFalse = 0;

constexpr bool IsTrue(Truth value) { return value != 0; }
constexpr Truth ToTruth(bool value) { return value ? kTrue : kFalse; }

// A window handle as the logic sees it: an opaque number wide enough for the
// platform's handles, compared and passed on but never dereferenced.
using WindowHandle = std::uintptr_t;

// A point on the screen in the platform's pixels, where a menu opens; the
// logic passes it on without looking at it.
struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The system's error codes that the program tells apart, the platform's
// numbers (what GetLastError gives).
constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorBusy = 170;
constexpr std::uint32_t kErrorCancelled = 1223;

}  // namespace dovrel
