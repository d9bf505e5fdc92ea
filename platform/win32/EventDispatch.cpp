#include "platform/win32/EventDispatch.h"

#include <windows.h>

#include <exception>
#include <string>

#include "platform/Error.h"
#include "platform/win32/Win32Text.h"

namespace dovrel::win32 {

namespace {

constexpr wchar_t kAppTitle[] = L"Orvane - Dovrel";

void ShowErrorReport(const std::wstring& description)
{
    // Owned by the active window of the program, if it has one.
    MessageBoxW(GetActiveWindow(), description.c_str(), kAppTitle, MB_OK | MB_ICONERROR);
}

}  // namespace

void DispatchEvent(const std::function<void()>& handler) noexcept
{
    try {
        handler();
    } catch (const Error& error) {
        ShowErrorReport(error.Description());
    } catch (const std::exception& error) {
        ShowErrorReport(WideFromUtf8(error.what()));
    } catch (...) {
        ShowErrorReport(L"An unexpected error occurred.");
    }
}

}  // namespace dovrel::win32
