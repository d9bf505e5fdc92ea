#pragma once
// The spooler's ports as the driver's own process reads them.
#include "tests/e2e/driver/Common.h"

namespace e2e {

void SpoolerPorts(const Args& args);
void SpoolerNames(const Args& args);
void CodePage(const Args& args);

}  // namespace e2e
