#include "shell/Utilities.h"

#include "index/Rebuild.h"
#include "shell/Editing.h"

namespace vrk {

bool ReIndexCommand(Program& program) {
  EraseScreen(program);
  return ReIndex(program);
}

}  // namespace vrk
