#pragma once
// Where the keyboard is: the focused control of a window's thread, and
// which buttons show as the default push button.
#include "tests/e2e/driver/Common.h"

namespace e2e {

void Focus(const Args& args);
void WaitFocus(const Args& args);
void DefaultButtons(const Args& args);

}  // namespace e2e
