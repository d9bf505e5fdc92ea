#include "platform/CommandLine.h"

namespace dovrel {

std::wstring ArgumentsOf(const std::wstring& commandLine)
{
    std::size_t end = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        end = commandLine.find(L'"', 1);
        end = end == std::wstring::npos ? commandLine.size() : end + 1;
    } else {
        end = commandLine.find_first_of(L" \t");
        end = end == std::wstring::npos ? commandLine.size() : end;
    }
    const std::size_t arguments = commandLine.find_first_not_of(L" \t", end);
    return arguments == std::wstring::npos ? std::wstring() : commandLine.substr(arguments);
}

}  // namespace dovrel
