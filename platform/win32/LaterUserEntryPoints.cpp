#include "platform/win32/LaterEntryPoints.h"

// Apart from Kernel(), which a test program replaces with its own.
namespace dovrel::win32 {

namespace {

template <typename Function>
Function Find(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

UserEntryPoints LookUpUser()
{
    // user32 is imported, so it is loaded from the start too.
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    UserEntryPoints entries = {};
    entries.GetDpiForWindow = Find<decltype(entries.GetDpiForWindow)>(user, "GetDpiForWindow");
    entries.GetSystemMetricsForDpi = Find<decltype(entries.GetSystemMetricsForDpi)>(user, "GetSystemMetricsForDpi");
    entries.AdjustWindowRectExForDpi =
        Find<decltype(entries.AdjustWindowRectExForDpi)>(user, "AdjustWindowRectExForDpi");
    return entries;
}

}  // namespace

const UserEntryPoints& User()
{
    static const UserEntryPoints entries = LookUpUser();
    return entries;
}

}  // namespace dovrel::win32
