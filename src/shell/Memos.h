// The memo commands of the Edit menu: Memo edits the current entry's memo, Remove Memo takes it away.
#pragma once

#include <string>

#include "shell/Program.h"

namespace vrk {

// The Edit Memo window: the memo's text (code page 1252, lines ending in carriage return and line
// feed); read only when the catalog may not be changed.
struct MemoEditor {
  std::string text;
  bool readOnly = false;
};

// Edit > Memo: stores the edited text as the entry's memo ("SEE MEMO" then shows). True when the
// memo was stored.
bool MemoCommand(Program& program);
// Edit > Remove Memo. True when the entry has no memo any more, its record blanked.
bool RemoveMemoCommand(Program& program);

}  // namespace vrk
