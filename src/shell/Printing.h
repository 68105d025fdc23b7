// The File menu's printer commands: Print Current Entry, Eject Page and Print Setup.
#pragma once

#include "shell/Program.h"

namespace vrk {

// The entry on the screen, as it shows there, laid out by the current report format; it joins the
// printer page in progress, which comes out with Eject Page or at the end of the next printed run.
void PrintCurrentEntry(Program& program);
// Ends the printer's document, so that the page in progress comes out.
void EjectPage(Program& program);
// The printer dialog: which printer, or a PDF file.
void PrintSetup(Program& program);

}  // namespace vrk
