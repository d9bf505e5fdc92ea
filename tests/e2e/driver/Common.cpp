#include "tests/e2e/driver/Common.h"

#include <algorithm>
#include <cwctype>

namespace e2e {

namespace {

std::wstring gMainTitle = L"Ports";

}  // namespace

const std::wstring& MainTitle()
{
    return gMainTitle;
}

void SetMainTitle(const std::wstring& title)
{
    gMainTitle = title;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

std::wstring WideFromAnsi(const char* text)
{
    if (!text || !*text)
        return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), size);
    result.resize(static_cast<size_t>(size) - 1);
    return result;
}

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

bool ContainsNoCase(const std::wstring& text, const std::wstring& part)
{
    return Lower(text).find(Lower(part)) != std::wstring::npos;
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

std::wstring Escaped(const std::wstring& text)
{
    std::wstring line;
    for (wchar_t c : text) {
        switch (c) {
        case L'\\': line += L"\\\\"; break;
        case L'\r': line += L"\\r"; break;
        case L'\n': line += L"\\n"; break;
        case L'\t': line += L"\\t"; break;
        default: line += c; break;
        }
    }
    return line;
}

// WriteFile rather than the C runtime: the bytes reach the Unix pipe as they are.
void WriteAll(DWORD which, const std::string& text)
{
    HANDLE out = GetStdHandle(which);
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE)
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void Print(const std::wstring& line)
{
    WriteAll(STD_OUTPUT_HANDLE, Utf8(line) + "\n");
}

long ParseNumber(const std::wstring& text, const wchar_t* what)
{
    const bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    try {
        size_t used = 0;
        const long value = std::stol(text, &used, hex ? 16 : 10);
        if (used == text.size())
            return value;
    } catch (const std::logic_error&) {
    }
    throw UsageError(Utf8(std::wstring(what) + L" must be a number, not " + Quoted(text)));
}

DWORD WaitArgument(const Args& args, size_t index)
{
    return args.size() > index ? static_cast<DWORD>(ParseNumber(args[index], L"the wait in ms")) : kDefaultWaitMs;
}

long long UnixMilliseconds()
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr ULONGLONG kFrom1601To1970 = 116444736000000000ULL;  // in 100 ns
    return static_cast<long long>((ticks - kFrom1601To1970) / 10000);
}

}  // namespace e2e
