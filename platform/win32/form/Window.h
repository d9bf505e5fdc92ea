#pragma once

#include <windows.h>

#include "platform/Types.h"
#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

inline WindowHandle ToWindowHandle(HWND window)
{
    return reinterpret_cast<WindowHandle>(window);
}

inline HWND ToHwnd(WindowHandle window)
{
    return reinterpret_cast<HWND>(window);
}

// The window behind a handle from the logic; raises the program's error,
// naming the operation, when it is no window (any more).
HWND RequireWindow(WindowHandle window, const wchar_t* operation);

// Registers a window class of the program's file, once; a class that exists
// already is taken as it is.
void RegisterWindowClass(const wchar_t* className, WNDPROC procedure, HBRUSH background = nullptr);

// Where the messages of a Window go.
class MessageHandler {
public:
    virtual ~MessageHandler() = default;
    // Runs inside the program's callback guard.
    virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// A top-level window of one of the program's own classes, owned by this
// object, its messages handed to a MessageHandler.
//
// The handler gets the window's messages from WM_NCCREATE on. When the
// object goes, the handler is let go first and the window is destroyed
// after, so no message reaches a handler that is being taken apart; when the
// window system destroys the window first, the object learns of it at
// WM_NCDESTROY and has nothing left to destroy. Every window the program
// makes is owned this way: by a UniqueHwnd, let go of when the system
// destroys it.
class Window {
public:
    // Registers the class when it is the first window of it.
    Window(const wchar_t* className, HBRUSH background, DWORD exStyle, const wchar_t* caption, DWORD style,
           const RECT& bounds, MessageHandler& handler);
    ~Window() { handler_ = nullptr; }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Null once the window is destroyed.
    HWND hWnd() const { return window_.Get(); }
    // Destroys the window now; its last messages still reach the handler.
    void Destroy();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    MessageHandler* handler_;
    UniqueHwnd window_;  // after the handler: destroyed while handler_ is already null
};

}  // namespace dovrel::win32
