// The commands of the Utilities menu.
#pragma once

#include "shell/Program.h"

namespace vrk {

// ReIndex: erases the screen and rebuilds every key index. True when they were built whole.
bool ReIndexCommand(Program& program);
// Sort: the Sort Setup window, then the sort of the catalog by its levels; the "Sorted" panel follows.
void SortCommand(Program& program);
// Copy Entries: the source and destination, their field mapping, the copy and its message.
void CopyEntriesCommand(Program& program);
// Eliminate Deleted, after its question.
void EliminateDeletedCommand(Program& program);
// Set Security Code.
void SetSecurityCodeCommand(Program& program);

}  // namespace vrk
