#pragma once

#include <cstdint>

#include "platform/FormsRuntime.h"

namespace dovrel {

// Converts a value to a 32-bit integer as the window system's forms do:
// to the nearest integer, halves to the even neighbour; a value outside the
// range (or not a number) raises an overflow.
std::int32_t ToInt32Rounded(double value);

// Keeps the list filling the left of the window and the buttons in a column
// along its right edge. Margin and gap are measured afresh from the controls
// on every run; a step that fails is skipped and the next one runs.
void ResizeLayout(Form& form, ControlExtent& list, CommandButton& anchor, CommandButton* const (&others)[4]);

}  // namespace dovrel
