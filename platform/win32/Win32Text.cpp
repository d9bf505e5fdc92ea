#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <climits>

#include "platform/Error.h"
#include "platform/win32/Win32Error.h"

namespace dovrel::win32 {

namespace {

std::wstring ToWide(UINT codePage, const char* text, int length)
{
    if (length == 0)
        return std::wstring();
    const int needed = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    if (needed <= 0)
        ThrowLastError(L"MultiByteToWideChar");
    std::wstring result(static_cast<size_t>(needed), L'\0');
    if (MultiByteToWideChar(codePage, 0, text, length, result.data(), needed) != needed)
        ThrowLastError(L"MultiByteToWideChar");
    return result;
}

}  // namespace

std::wstring WideFromUtf8(const std::string& text)
{
    if (text.size() > INT_MAX)
        throw Error(kErrOverflow, L"Overflow");
    return ToWide(CP_UTF8, text.data(), static_cast<int>(text.size()));
}

std::wstring WideFromAnsi(const char* text, int length)
{
    return ToWide(CP_ACP, text, length);
}

std::string AnsiFromWide(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    if (text.size() > INT_MAX)
        throw Error(kErrOverflow, L"Overflow");
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        ThrowLastError(L"WideCharToMultiByte");
    std::string result(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text.data(), length, result.data(), needed, nullptr, nullptr) != needed)
        ThrowLastError(L"WideCharToMultiByte");
    return result;
}

}  // namespace dovrel::win32
