#pragma once
// The spooler's ports as the driver's own process reads them, and what
// other programs do to ports and files meanwhile.
#include "tests/e2e/driver/Common.h"

namespace e2e {

void SpoolerPorts(const Args& args);
void SpoolerNames(const Args& args);
void CodePage(const Args& args);
void SpoolerAdd(const Args& args);
void SpoolerDelete(const Args& args);
void SpoolerWatch(const Args& args);
void HoldFile(const Args& args);

}  // namespace e2e
