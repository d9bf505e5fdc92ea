#pragma once
// The program's stored placement, written and read as a user's registry
// may hold it, and the screen the program is placed on.
#include "tests/e2e/driver/Common.h"

namespace e2e {

void WorkArea(const Args& args);
void Placement(const Args& args);
void ResetPlacement(const Args& args);
void WritePlacement(const Args& args);
void DeleteProgramKey(const Args& args);
void SetDpi(const Args& args);
void ResetDpi(const Args& args);

}  // namespace e2e
