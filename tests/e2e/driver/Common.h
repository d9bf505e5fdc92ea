#pragma once
// What every command of the driver shares: its arguments, its two kinds of
// failure, output as UTF-8, numbers from the command line and polling.
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

using Args = std::vector<std::wstring>;

constexpr DWORD kDefaultWaitMs = 10000;
// How long a window may take to answer one message before it counts as hung.
constexpr UINT kAnswerMs = 5000;

// A check that failed or a wait that timed out: exit code 1.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// A malformed command line: exit code 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The program's window, "Ports"; --window names another one.
const std::wstring& MainTitle();
void SetMainTitle(const std::wstring& title);

std::string Utf8(const std::wstring& text);
std::wstring WideFromAnsi(const char* text);
std::wstring Lower(std::wstring text);
bool ContainsNoCase(const std::wstring& text, const std::wstring& part);
std::wstring Quoted(const std::wstring& text);
// One line whatever the text holds: backslash, CR, LF and tab escaped.
std::wstring Escaped(const std::wstring& text);

void WriteAll(DWORD which, const std::string& text);
void Print(const std::wstring& line);

// Decimal, or hexadecimal after "0x"; what names the number in the error.
long ParseNumber(const std::wstring& text, const wchar_t* what);
// The wait in ms at args[index], kDefaultWaitMs when it is not given.
DWORD WaitArgument(const Args& args, size_t index);

// Calls probe every intervalMs until it yields a value or the time is up;
// the last result (empty when the time ran out) is returned.
template <typename Probe>
auto PollEvery(DWORD intervalMs, DWORD ms, Probe probe) -> decltype(probe())
{
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        auto result = probe();
        if (result || GetTickCount64() >= deadline)
            return result;
        Sleep(intervalMs);
    }
}

template <typename Probe>
auto Poll(DWORD ms, Probe probe) -> decltype(probe())
{
    return PollEvery(25, ms, probe);
}

// The wall clock in milliseconds since 1970, as `date +%s%3N` counts them:
// when a wait saw what it waited for, for timings taken from outside.
long long UnixMilliseconds();

// Like Poll, more often: a port cycle waits a dozen times, a timing wants
// the moment itself.
template <typename Probe>
auto PollClosely(DWORD ms, Probe probe) -> decltype(probe())
{
    return PollEvery(5, ms, probe);
}

}  // namespace e2e
