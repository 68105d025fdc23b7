// vrkcli's help, whose command records hold what runs each command. Only vrkcli and the manual-page
// generator link it: the desktop program has none of vrkcli's code.
#pragma once

#include "app/help/ProgramHelp.h"

namespace vrk::help {

const ProgramHelp& VrkcliHelp();

}  // namespace vrk::help
