#pragma once

#include <windows.h>

#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

// A control of the program's on a child window that it makes and owns.
//
// Its window's notifications reach it one way: the parent hands every
// WM_COMMAND and WM_NOTIFY back to the control it came from
// (ReflectToControl), and the control runs its handlers. The window goes
// with the control, or with its parent, which tells the control before the
// child goes (ParentDestroying), whichever comes first.
class ChildControl {
public:
    virtual ~ChildControl();
    ChildControl(const ChildControl&) = delete;
    ChildControl& operator=(const ChildControl&) = delete;

    // Null once the window has gone with its parent.
    HWND Handle() const { return window_.Get(); }

    // A WM_COMMAND notification code from the window.
    virtual void OnCommand(WORD /*code*/) {}
    // A WM_NOTIFY from the window; true when `result` is the answer.
    virtual bool OnNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // The parent is being destroyed, and this window with it.
    virtual void ParentDestroying();

protected:
    ChildControl() = default;
    // Takes the made window and has its notifications reach this control.
    void Own(UniqueHwnd window);

private:
    UniqueHwnd window_;
};

// Hands a WM_COMMAND or WM_NOTIFY that a parent received to the control
// whose window sent it; false when no control of the program's sent it.
bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace dovrel::win32
