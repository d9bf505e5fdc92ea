#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::bench {

// The least a correct port window does, for comparison: a plain report-view
// SysListView32 holding its own items, with the size, font and look of the
// port window's list. It quits the message loop when closed. Dressed, it
// also has the port window's five buttons, in its font, and its icon.
class FloorWindow {
public:
    enum class Dress { Plain, PortWindow };

    explicit FloorWindow(const wchar_t* title, Dress dress = Dress::Plain);
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

    void AddDress(int dpi);

    win32::UniqueGdiObject font_;
    win32::UniqueIcon bigIcon_;
    win32::UniqueIcon smallIcon_;
    win32::UniqueHwnd window_;  // the list is its child and goes with it
    HWND list_ = nullptr;
};

}  // namespace dovrel::bench
