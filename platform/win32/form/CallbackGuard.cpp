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

// The program's title, copied in by the forms runtime as it is made: the
// report needs nothing that could fail. Written by SetErrorReportTitle only.
wchar_t (&ReportTitle())[128]
{
    static wchar_t title[128] = L"";
    return title;
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

void ReportCurrentError() noexcept
{
    ReportCurrentError(ReportTitle());
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

void SetErrorReportTitle(const wchar_t* title) noexcept
{
    lstrcpynW(ReportTitle(), title ? title : L"", static_cast<int>(std::size(ReportTitle())));
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
