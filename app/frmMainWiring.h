#pragma once

#include <vector>

#include "app/FormWiring.h"

namespace dovrel {

class frmMain;

// What each control of the port window runs, beside its design.
const std::vector<Wire<frmMain>>& frmMainWiring();

}  // namespace dovrel
