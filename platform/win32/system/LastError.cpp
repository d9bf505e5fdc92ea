#include "platform/win32/system/LastError.h"

namespace dovrel::win32 {

namespace {

void DropTrailing(std::wstring& text, const wchar_t* characters)
{
    const std::size_t end = text.find_last_not_of(characters);
    text.erase(end == std::wstring::npos ? 0 : end + 1);
}

}  // namespace

std::wstring SystemText(DWORD code)
{
    // Language 0: the thread's, then the user's, then the system's.
    wchar_t buffer[1024] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, ARRAYSIZE(buffer), nullptr);
    std::wstring text(buffer, length);
    DropTrailing(text, L"\r\n ");
    if (text.empty())
        text = L"Error " + std::to_wstring(code) + L".";
    return text;
}

std::wstring SystemMessage(DWORD code)
{
    std::wstring text = SystemText(code);
    DropTrailing(text, L"\r\n .");
    return text;
}

void ThrowError(const wchar_t* call, DWORD code)
{
    throw Error(kErrSystem, std::wstring(call) + L" failed: " + SystemMessage(code) + L".");
}

void ThrowLastError(const wchar_t* call)
{
    ThrowError(call, GetLastError());
}

}  // namespace dovrel::win32
