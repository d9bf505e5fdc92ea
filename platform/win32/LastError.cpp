#include "platform/win32/LastError.h"

namespace dovrel::win32 {

std::wstring SystemMessage(DWORD code)
{
    wchar_t buffer[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, ARRAYSIZE(buffer), nullptr);
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        text = L"error " + std::to_wstring(code);
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
