#include "platform/Error.h"

#include <utility>

namespace dovrel {

namespace {

std::string AsciiOf(const std::wstring& text)
{
    std::string result;
    result.reserve(text.size());
    for (wchar_t c : text)
        result.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
    return result;
}

}  // namespace

Error::Error(long number, std::wstring description)
    : number_(number), description_(std::move(description)), narrow_(AsciiOf(description_))
{
}

}  // namespace dovrel
