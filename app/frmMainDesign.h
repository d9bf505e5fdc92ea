#pragma once

#include "platform/FormDefinition.h"

namespace dovrel {

// The port window as it is designed: its caption, size and place, font,
// controls and timer, as a form file holds them.
const FormDefinition& frmMainDesign();

}  // namespace dovrel
