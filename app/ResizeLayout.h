#pragma once

#include <cstdint>
#include <vector>

#include "platform/FormDefinition.h"
#include "platform/FormsRuntime.h"

namespace dovrel {

// Converts a value to a 32-bit integer as the window system's forms do:
// to the nearest integer, halves to the even neighbour; a value outside the
// range (or not a number) raises an overflow.
std::int32_t ToInt32Rounded(double value);

// The spacing the layout keeps, in twips: the margin around the list and
// the column of buttons, and the gap between the list and the buttons.
struct LayoutSpacing {
    std::int32_t margin = 0;
    std::int32_t gap = 0;
};

// The spacing of a design: the margin is the list's left edge, the gap lies
// between the list's right edge and the left edge of the design's first
// button.
LayoutSpacing SpacingOf(const FormDefinition& design, const char* listName);

// The design's buttons, which stand in one column, in the order the design
// makes them.
std::vector<CommandButton*> ButtonColumn(const FormDefinition& design, const FormControls& controls);

// Keeps the list filling the left of the window and the buttons in a column
// along its right edge (every one at the left edge the first one gets), with the design's spacing: the design size is a
// fixed point, and no earlier run (a tiny window, a refused move) changes
// where a later one puts the controls. A list too small for the spacing
// shrinks to nothing rather than overlapping the buttons. A step that fails
// is skipped and the next one runs.
void ResizeLayout(Form& form, ControlExtent& list, const std::vector<CommandButton*>& column, LayoutSpacing spacing);

}  // namespace dovrel
