#include "platform/win32/Window.h"

#include <utility>

#include "platform/win32/CallbackGuard.h"
#include "platform/win32/Win32Error.h"

namespace dovrel::win32 {

HWND RequireWindow(WindowHandle window, const wchar_t* operation)
{
    const auto handle = reinterpret_cast<HWND>(window);
    if (!handle || !IsWindow(handle))
        ThrowError(operation, ERROR_INVALID_WINDOW_HANDLE);
    return handle;
}

Window::~Window()
{
    // The rest of the object is gone already.
    DestroyDetached();
}

void Window::DestroyDetached()
{
    if (!window_)
        return;
    // The window's last messages go to the default procedure.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(std::exchange(window_, nullptr));
}

void Window::Create(const wchar_t* className, HBRUSH background, DWORD exStyle, const wchar_t* caption, DWORD style,
                    const RECT& bounds)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        ThrowLastError(L"RegisterClassEx");

    if (!CreateWindowExW(exStyle, className, caption, style, bounds.left, bounds.top, bounds.right - bounds.left,
                         bounds.bottom - bounds.top, nullptr, nullptr, GetModuleHandleW(nullptr), this))
        ThrowLastError(L"CreateWindowEx");
}

void Window::Destroy()
{
    if (window_)
        DestroyWindow(window_);
}

LRESULT CALLBACK Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        Guarded(false, [&] {
            self->OnDestroyed();
            return true;
        });
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return Guarded<LRESULT>(0, [&] { return self->HandleMessage(message, wParam, lParam); });
}

}  // namespace dovrel::win32
