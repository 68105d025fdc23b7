// The printer that prints into a PDF file. It needs the desktop toolkit, so it lives in a module of
// its own, vrkpdf.so, that only a process making a PDF loads: the command-line programs start without
// the toolkit's libraries.
//
// The module and the program meet only through the C functions below, over plain bytes: no C++ string,
// object, heap block or exception crosses between them. vrkcli carries its own C++ runtime, linked in
// so that it starts without loading the shared one, while the module and the toolkit use the shared one.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/Printer.h"

extern "C" {

// A printer made by the module; only the module looks inside.
struct VrkPdfPrinter;

// Bytes of text and how many: not necessarily ended by a zero.
struct VrkPdfText {
  const char* bytes;
  std::size_t size;
};

// The module's functions, one for each call of the Printer port that a PDF printer answers. The calls
// that can fail return 0 when they fail, and `failure` then tells why.
struct VrkPdfFunctions {
  // A new printer into the PDF file at `path`; null when none can be made.
  VrkPdfPrinter* (*open)(const char* path);
  void (*close)(VrkPdfPrinter* printer);
  int (*printLine)(VrkPdfPrinter* printer, VrkPdfText text, int tabColumn, VrkPdfText tabbed);
  int (*newPage)(VrkPdfPrinter* printer);
  int (*endDocument)(VrkPdfPrinter* printer);
  void (*abandonDocument)(VrkPdfPrinter* printer);
  double (*textWidth)(VrkPdfPrinter* printer, VrkPdfText text);
  double (*printableWidth)(VrkPdfPrinter* printer);
  int (*setFont)(VrkPdfPrinter* printer, VrkPdfText name, double size, int bold, int italic, int underline);
  // Why the last call that failed failed; the bytes last until the next call on the printer.
  VrkPdfText (*failure)(VrkPdfPrinter* printer);
};
}

namespace vrk {

inline constexpr const char* kPdfModule = "vrkpdf.so";
// The module's one entry point: its table of functions.
inline constexpr const char* kPdfModuleEntry = "VrkPdfModule";
using PdfModuleEntry = const VrkPdfFunctions* (*)();

// Loads the module from beside the executable (the build tree) or from the installation's module
// directory, ../lib/ARCH/vrk beside the executable's directory, and makes a printer into `path`. Null, with what went
// wrong in `why`, when the module cannot be loaded or makes no printer.
std::unique_ptr<Printer> LoadPdfPrinter(const std::string& path, std::string& why);

}  // namespace vrk
