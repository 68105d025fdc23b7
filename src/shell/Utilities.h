// The commands of the Utilities menu.
#pragma once

#include "shell/Program.h"

namespace vrk {

// ReIndex: erases the screen and rebuilds every key index. True when they were built whole.
bool ReIndexCommand(Program& program);

}  // namespace vrk
