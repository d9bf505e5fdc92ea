#include "platform/win32/form/CallbackGuard.h"

#include <windows.h>

#include <exception>
#include <iterator>
#include <string>

#include "platform/Error.h"
#include "platform/win32/system/TextConversion.h"

namespace dovrel::win32 {

namespace {

constexpr wchar_t kUnexpectedError[] = L"An unexpected error occurred.";

BOOL CALLBACK FindTitleWindow(HWND window, LPARAM found) noexcept
{
    if (!GetPropW(window, kTitleWindowProperty))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The description of the error being handled. Making the text may itself
// fail (out of memory, say); the caller then falls back to a fixed text.
std::wstring CurrentDescription()
{
    try {
        throw;
    } catch (const Error& error) {
        return error.Description();
    } catch (const std::exception& error) {
        return WideFromUtf8(error.what());
    }
}

class Immediate final : public EventSink {
public:
    void RunHandler(const std::function<void()>& handler) override { DispatchEvent(handler); }
};

}  // namespace

// Nothing here allocates: the report must come even when memory is short.
void ReportCurrentError() noexcept
{
    HWND titleWindow = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindTitleWindow, reinterpret_cast<LPARAM>(&titleWindow));
    wchar_t title[128] = L"";
    if (titleWindow)
        GetWindowTextW(titleWindow, title, static_cast<int>(std::size(title)));
    ReportCurrentError(title);
}

void ReportCurrentError(const wchar_t* title) noexcept
{
    const wchar_t* text = kUnexpectedError;
    std::wstring description;
    try {
        description = CurrentDescription();
        if (!description.empty())
            text = description.c_str();
    } catch (...) {
        // The fixed text stands.
    }
    MessageBoxW(GetActiveWindow(), text, title, MB_OK | MB_ICONERROR);
}

bool DispatchEvent(const std::function<void()>& handler) noexcept
{
    return Guarded(false, [&] {
        handler();
        return true;
    });
}

EventSink& ImmediateEvents()
{
    static Immediate sink;
    return sink;
}

}  // namespace dovrel::win32
