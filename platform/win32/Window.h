#pragma once

#include <windows.h>

#include "platform/Types.h"

namespace dovrel::win32 {

inline WindowHandle ToWindowHandle(HWND window)
{
    return reinterpret_cast<WindowHandle>(window);
}

// The window behind a handle from the logic; raises the program's error,
// naming the operation, when it is no window (any more).
HWND RequireWindow(WindowHandle window, const wchar_t* operation);

// A window of one of the program's own classes, owned by this object.
//
// The window procedure finds the object through the pointer stored at
// WM_NCCREATE and cleared at WM_NCDESTROY, and the object destroys a window
// that is still there when it goes, after it stopped taking the window's
// messages. So no message reaches an object that is not made yet or gone:
// also when making the rest of a window fails after the window exists.
class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    // Null before Create and once the window is destroyed.
    HWND Handle() const { return window_; }

protected:
    Window() = default;

    // Registers the class (once) and creates the window. Call it from the
    // constructor's body of the derived class, whose HandleMessage then
    // gets the window's first messages.
    void Create(const wchar_t* className, HBRUSH background, DWORD exStyle, const wchar_t* caption, DWORD style,
                const RECT& bounds);
    // Destroys the window now; its last messages still come here.
    void Destroy();
    // Destroys the window without taking its last messages: for a
    // destructor, once the object no longer can.
    void DestroyDetached();

    // Runs inside the program's callback guard; unhandled messages go to
    // DefWindowProc.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // WM_NCDESTROY: the window is gone.
    virtual void OnDestroyed() {}

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HWND window_ = nullptr;
};

}  // namespace dovrel::win32
