#pragma once

#include <string>
#include <vector>

namespace dovrel::win32 {

// The arguments of the program's command line, split as the system splits
// them (CommandLineToArgvW), without the program's own name. The shell is
// loaded for it only when there are arguments to split.
std::vector<std::wstring> ProgramArguments();

}  // namespace dovrel::win32
