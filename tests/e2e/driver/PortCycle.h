#pragma once
// Ports added and deleted again through the program, many times in a row.
#include "tests/e2e/driver/Common.h"

namespace e2e {

void CyclePorts(const Args& args);

}  // namespace e2e
