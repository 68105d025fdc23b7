// View > Search & Replace: the dialog, then Field Replace or Global Replace over the entries, then an
// erased screen.
#pragma once

#include "shell/Program.h"

namespace vrk {

void ReplaceCommand(Program& program);

}  // namespace vrk
