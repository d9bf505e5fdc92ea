#include "platform/win32/system/TextConversion.h"

#include <windows.h>

#include <climits>

#include "platform/Error.h"
#include "platform/win32/system/LastError.h"

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

// The invariant locale's upper case, which maps each code unit on its own,
// as the system's table for file and key names does; empty when the system
// cannot give it.
std::wstring UpperInvariant(const std::wstring& text)
{
    std::wstring upper(text.size(), L'\0');
    const int length = static_cast<int>(text.size());
    if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.data(), length, upper.data(), length) != length)
        return std::wstring();
    return upper;
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

bool EqualIgnoringCase(const std::wstring& first, const std::wstring& second, const KernelEntryPoints& kernel)
{
    if (first.size() > INT_MAX || second.size() > INT_MAX)
        throw Error(kErrOverflow, L"Overflow");
    if (kernel.CompareStringOrdinal)
        return kernel.CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                                           static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
    // Before Vista. Where the system cannot upper-case, names match exactly.
    if (first.size() != second.size())
        return false;
    if (first == second)
        return true;
    const std::wstring upperFirst = UpperInvariant(first);
    return !upperFirst.empty() && upperFirst == UpperInvariant(second);
}

}  // namespace dovrel::win32
