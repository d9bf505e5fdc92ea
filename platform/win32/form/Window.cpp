#include "platform/win32/form/Window.h"

#include "platform/win32/form/CallbackGuard.h"
#include "platform/win32/system/LastError.h"

namespace dovrel::win32 {

HWND RequireWindow(WindowHandle window, const wchar_t* operation)
{
    const HWND handle = ToHwnd(window);
    if (!handle || !IsWindow(handle))
        ThrowError(operation, ERROR_INVALID_WINDOW_HANDLE);
    return handle;
}

void RegisterWindowClass(const wchar_t* className, WNDPROC procedure, HBRUSH background)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        ThrowLastError(L"RegisterClassEx");
}

Window::Window(const wchar_t* className, HBRUSH background, DWORD exStyle, const wchar_t* caption, DWORD style,
               const RECT& bounds, MessageHandler& handler)
    : handler_(&handler)
{
    RegisterWindowClass(className, WindowProc, background);
    window_.Reset(CreateWindowExW(exStyle, className, caption, style, bounds.left, bounds.top,
                                  bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), this));
    if (!window_)
        ThrowLastError(L"CreateWindowEx");
}

void Window::Destroy()
{
    if (window_)
        DestroyWindow(window_.Get());
}

LRESULT CALLBACK Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_.Release();  // gone already: nothing left to destroy
        self = nullptr;
    }
    if (!self || !self->handler_)
        return DefWindowProcW(window, message, wParam, lParam);
    return Guarded<LRESULT>(0, [&] { return self->handler_->HandleMessage(window, message, wParam, lParam); });
}

}  // namespace dovrel::win32
