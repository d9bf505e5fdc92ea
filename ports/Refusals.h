#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/SupportLibrary.h"

namespace dovrel {

// The fixed text of a refusal with the system's reason below it, after an
// empty line; the fixed text alone when the refusal left no error code.
std::wstring TextWithReason(const std::wstring& fixedText, std::uint32_t error, SupportLibrary& support);

// How many printers the message of a port in use names by name.
constexpr std::size_t kPrintersNamed = 5;

// The printers that use a port, one a line under a heading, the first
// kPrintersNamed of them and then how many more; empty without printers.
std::wstring PrintersText(const std::vector<std::wstring>& printers);

}  // namespace dovrel
