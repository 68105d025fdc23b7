// The printer that prints into a PDF file. It needs the desktop toolkit, so it lives in a module of
// its own, vrkpdf.so, that only a process making a PDF loads: the command-line programs start without
// the toolkit's libraries.
#pragma once

#include <memory>
#include <string>

#include "platform/Printer.h"

namespace vrk {

inline constexpr const char* kPdfModule = "vrkpdf.so";
// The module's one entry point: a new printer into the PDF file at `path`, or null when none can be made.
inline constexpr const char* kPdfPrinterEntry = "VrkPdfPrinter";
using PdfPrinterEntry = Printer* (*)(const char* path);

// Loads the module from beside the executable (the build tree) or from the installation's module
// directory, ../lib/ARCH/vrk beside the executable's directory, and makes a printer into `path`. Null, with what went
// wrong in `why`, when the module cannot be loaded or makes no printer.
std::unique_ptr<Printer> LoadPdfPrinter(const std::string& path, std::string& why);

}  // namespace vrk
