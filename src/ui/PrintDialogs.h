// The printer's windows on the desktop: Print Setup (the system's printer dialog, its confirming
// button named for what it does, the whole printer name shown, and a Preview button), the print
// preview window, and the question for a PDF file when the system has no printer. All run through
// QtUi::RunModal, so a desktop test can answer them.
#pragma once

#include "ui/QtPrinter.h"
#include "ui/QtUi.h"

namespace vrk {

void AttachPrintDialogs(QtPrinter& printer, QtUi& ui);

}  // namespace vrk
