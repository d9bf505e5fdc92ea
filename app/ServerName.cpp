#include "app/ServerName.h"

#include <algorithm>

namespace dovrel {

namespace {

// A DNS name's longest.
constexpr std::size_t kLongestName = 255;

bool FitsAComputerName(wchar_t character)
{
    static const std::wstring kNever = L"\\/:*?\"<>|,;=";
    // Control characters, blanks and the no-break space are in no name.
    return character > L' ' && character != 0x7f && character != 0xa0 && kNever.find(character) == std::wstring::npos;
}

}  // namespace

std::optional<std::wstring> ServerName(const std::wstring& text)
{
    const std::wstring name = text.compare(0, 2, L"\\\\") == 0 ? text.substr(2) : text;
    if (name.empty() || name.size() > kLongestName || !std::all_of(name.begin(), name.end(), FitsAComputerName) ||
        name.find_first_not_of(L'.') == std::wstring::npos)
        return std::nullopt;
    return L"\\\\" + name;
}

std::optional<PortsToShow> PortsAskedFor(const std::vector<std::wstring>& arguments)
{
    if (arguments.empty())
        return PortsToShow{};
    if (arguments.size() > 1)
        return std::nullopt;
    const auto server = ServerName(arguments.front());
    if (!server)
        return std::nullopt;
    return PortsToShow{*server};
}

}  // namespace dovrel
