#pragma once
// What the process of "Ports" holds: objects, handles, windows, memory.
#include "tests/e2e/driver/Common.h"

namespace e2e {

void ProcessFigures(const Args& args);

}  // namespace e2e
