#pragma once

#include <string>

namespace dovrel {

// What follows the program's name in a command line, as the program's
// arguments, exactly as written: the name ends at its closing quote when it
// starts with one, otherwise at the first blank or tab; the blanks and tabs
// after it are dropped.
std::wstring ArgumentsOf(const std::wstring& commandLine);

}  // namespace dovrel
