#include "platform/win32/controls/ChildControl.h"

#include <utility>

#include "platform/win32/system/LastError.h"

namespace dovrel::win32 {

namespace {

// A property rather than the window's user data, which a window not of the
// program's may use for anything.
constexpr wchar_t kControlProperty[] = L"Dovrel.ChildControl";

ChildControl* ControlOf(HWND window)
{
    return window ? static_cast<ChildControl*>(GetPropW(window, kControlProperty)) : nullptr;
}

}  // namespace

ChildControl::~ChildControl()
{
    if (window_)
        RemovePropW(window_.Get(), kControlProperty);
}

void ChildControl::Own(UniqueHwnd window)
{
    window_ = std::move(window);
    if (!SetPropW(window_.Get(), kControlProperty, this))
        ThrowLastError(L"SetProp (control)");
}

void ChildControl::ParentDestroying()
{
    RemovePropW(window_.Get(), kControlProperty);
    window_.Release();  // destroyed with its parent
}

bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    if (message == WM_COMMAND) {
        ChildControl* control = ControlOf(reinterpret_cast<HWND>(lParam));
        if (control)
            control->OnCommand(HIWORD(wParam));
        return control != nullptr;
    }
    if (message == WM_NOTIFY && lParam) {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        ChildControl* control = ControlOf(header.hwndFrom);
        return control && control->OnNotify(header, result);
    }
    return false;
}

}  // namespace dovrel::win32
