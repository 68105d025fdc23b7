#include "shell/Utilities.h"

#include "index/Rebuild.h"
#include "shell/Editing.h"

namespace vrk {

void ReIndexCommand(Program& program) {
  EraseScreen(program);
  ReIndex(program);
}

}  // namespace vrk
