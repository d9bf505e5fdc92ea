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

// The program's title, copied in at the start: the report needs nothing
// that could fail.
wchar_t reportTitle[128] = L"";

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

void ReportCurrentError() noexcept
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
    MessageBoxW(GetActiveWindow(), text, reportTitle, MB_OK | MB_ICONERROR);
}

void SetErrorReportTitle(const wchar_t* title) noexcept
{
    lstrcpynW(reportTitle, title ? title : L"", static_cast<int>(std::size(reportTitle)));
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
