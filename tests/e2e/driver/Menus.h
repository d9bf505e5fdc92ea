#pragma once
// The program's pop-up menu, the mouse's right button on a row, the
// clipboard and the choice in a dialog's combo box.
#include "tests/e2e/driver/Common.h"

namespace e2e {

void RightClickRow(const Args& args);
void Menu(const Args& args);
void WaitNoMenu(const Args& args);
void Clipboard(const Args& args);
void SelectItem(const Args& args);

}  // namespace e2e
