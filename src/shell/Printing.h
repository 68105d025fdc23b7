// The printer commands: Print Current Entry, Eject Page and Print Setup of the File menu, and the
// Reports menu's Print Preview.
#pragma once

#include "shell/Program.h"

namespace vrk {

// The entry on the screen, as it shows there, laid out by the current report format; it joins the
// printer page in progress, which comes out with Eject Page or at the end of the next printed run.
void PrintCurrentEntry(Program& program);
// Ends the printer's document, so that the page in progress comes out.
void EjectPage(Program& program);
// The printer dialog: which printer, or a PDF file; its Preview button goes on to Print Preview.
void PrintSetup(Program& program);
// The pages printing the current list would produce (the whole catalog while browsing), by the current
// report format and report settings, in the printer's preview window. The report title is asked once;
// the list, the browsing position and the page in progress stay as they were.
void PrintPreview(Program& program);

}  // namespace vrk
