#pragma once
// What the process of "Ports" holds: objects, handles, windows, memory.
#include "tests/e2e/driver/Common.h"

namespace e2e {

void ProcessFigures(const Args& args);
// The command line of the process of "Ports", as the system keeps it.
void CommandLine(const Args& args);
// Waits until the process of that id has ended.
void WaitProcessGone(const Args& args);

}  // namespace e2e
