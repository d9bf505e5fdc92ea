#include "platform/win32/system/LaterEntryPoints.h"

// Apart from Kernel(), which a test program replaces with its own.
namespace dovrel::win32 {

namespace {

UserEntryPoints LookUpUser()
{
    // user32 is imported, so it is loaded from the start too.
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    UserEntryPoints entries = {};
    entries.GetDpiForWindow = FindEntryPoint<decltype(entries.GetDpiForWindow)>(user, "GetDpiForWindow");
    entries.GetSystemMetricsForDpi =
        FindEntryPoint<decltype(entries.GetSystemMetricsForDpi)>(user, "GetSystemMetricsForDpi");
    entries.AdjustWindowRectExForDpi =
        FindEntryPoint<decltype(entries.AdjustWindowRectExForDpi)>(user, "AdjustWindowRectExForDpi");
    return entries;
}

}  // namespace

const UserEntryPoints& User()
{
    static const UserEntryPoints entries = LookUpUser();
    return entries;
}

}  // namespace dovrel::win32
