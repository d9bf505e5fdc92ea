#pragma once
// The program's pop-up menu, the clipboard and the choice in a dialog's
// combo box.
#include "tests/e2e/driver/Common.h"

namespace e2e {

void Menu(const Args& args);
void WaitNoMenu(const Args& args);
void Clipboard(const Args& args);
void SelectItem(const Args& args);

}  // namespace e2e
