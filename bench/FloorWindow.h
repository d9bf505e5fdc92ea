#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "platform/win32/UniqueHandle.h"

namespace dovrel::bench {

// The least a correct port window does, for comparison: a plain report-view
// SysListView32 holding its own items, with the size, font and look of the
// port window's list. It quits the message loop when closed.
class FloorWindow {
public:
    explicit FloorWindow(const wchar_t* title);
    FloorWindow(const FloorWindow&) = delete;
    FloorWindow& operator=(const FloorWindow&) = delete;

    HWND Window() const { return window_.Get(); }
    HWND List() const { return list_; }
    void Show();

    // Adds one row per record of a buffer laid out as EnumPortsA level 2
    // leaves it, with redraw off; sorts by name, sizes the columns to their
    // texts and selects the first row. Returns at once; the caller paints.
    void Fill(const std::uint8_t* records, std::size_t count);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    win32::UniqueGdiObject font_;
    win32::UniqueHwnd window_;  // the list is its child and goes with it
    HWND list_ = nullptr;
};

}  // namespace dovrel::bench
