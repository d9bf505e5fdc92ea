#pragma once
// The commands that read or click the list of "Ports".
#include "tests/e2e/driver/Common.h"

namespace e2e {

void WaitRows(const Args& args);
void List(const Args& args);
void Columns(const Args& args);
void HeaderClick(const Args& args);
void SelectRow(const Args& args);
void SetSelection(const Args& args);
void DoubleClickRow(const Args& args);
void WaitSelected(const Args& args);
void TopRow(const Args& args);
void WaitRow(const Args& args);
void WaitNoRow(const Args& args);

}  // namespace e2e
