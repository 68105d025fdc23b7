// vrkpdf.so, the module that prints into a PDF file for the command-line programs: the desktop
// program's Qt printer on Qt's offscreen platform, in a process that has no window. Its functions are
// the C table of platform/PdfPrinter.h; no C++ exception leaves them, since the program's C++ runtime
// is not the module's.
#include <QGuiApplication>
#include <exception>
#include <memory>
#include <string>

#include "platform/PdfPrinter.h"
#include "ui/QtPrinter.h"

struct VrkPdfPrinter {
  vrk::QtPrinter printer;
  // Why the last call that failed failed.
  std::string failure;
};

namespace vrk {
namespace {

// Qt's application object, which the printer needs first; made by the first printer, kept to the end.
void StartApplication() {
  static int argc = 1;
  static char name[] = "vrkpdf";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication application(argc, argv);
}

std::string String(VrkPdfText text) { return {text.bytes, text.size}; }

// Runs `call` on the printer and gives its result, or `failed` when it throws: then the exception's
// words are the failure.
template <typename Result, typename Call>
Result Guarded(VrkPdfPrinter* pdf, Result failed, Call call) noexcept {
  try {
    return call(pdf->printer);
  } catch (const std::exception& error) {
    pdf->failure = std::string("The PDF printer failed: ") + error.what();
  } catch (...) {
    pdf->failure = "The PDF printer failed.";
  }
  return failed;
}

// A call that can fail; a failure keeps the printer's words for `failure`.
template <typename Call>
int Succeeded(VrkPdfPrinter* pdf, Call call) noexcept {
  return Guarded(pdf, 0, [&](QtPrinter& printer) {
    if (call(printer)) return 1;
    pdf->failure = printer.Failure();
    return 0;
  });
}

VrkPdfPrinter* Open(const char* path) noexcept {
  try {
    StartApplication();
    auto pdf = std::make_unique<VrkPdfPrinter>();
    pdf->printer.PrintToPdf(path);
    return pdf.release();
  } catch (...) {
    return nullptr;
  }
}

void Close(VrkPdfPrinter* pdf) noexcept { delete pdf; }

int PrintLine(VrkPdfPrinter* pdf, VrkPdfText text, int tabColumn, VrkPdfText tabbed) noexcept {
  return Succeeded(pdf, [&](QtPrinter& printer) { return printer.PrintLine(String(text), tabColumn, String(tabbed)); });
}

int NewPage(VrkPdfPrinter* pdf) noexcept {
  return Succeeded(pdf, [](QtPrinter& printer) { return printer.NewPage(); });
}

int EndDocument(VrkPdfPrinter* pdf) noexcept {
  return Succeeded(pdf, [](QtPrinter& printer) { return printer.EndDocument(); });
}

void AbandonDocument(VrkPdfPrinter* pdf) noexcept {
  Guarded(pdf, false, [](QtPrinter& printer) {
    printer.AbandonDocument();
    return true;
  });
}

double TextWidth(VrkPdfPrinter* pdf, VrkPdfText text) noexcept {
  return Guarded(pdf, 0.0, [&](QtPrinter& printer) { return printer.TextWidth(String(text)); });
}

double PrintableWidth(VrkPdfPrinter* pdf) noexcept {
  return Guarded(pdf, 0.0, [](QtPrinter& printer) { return printer.PrintableWidth(); });
}

int SetFont(VrkPdfPrinter* pdf, VrkPdfText name, double size, int bold, int italic, int underline) noexcept {
  return Succeeded(pdf, [&](QtPrinter& printer) {
    return printer.SetFont({String(name), size, bold != 0, italic != 0, underline != 0});
  });
}

VrkPdfText Failure(VrkPdfPrinter* pdf) noexcept { return {pdf->failure.data(), pdf->failure.size()}; }

constexpr VrkPdfFunctions kFunctions = {Open,      Close,          PrintLine, NewPage, EndDocument, AbandonDocument,
                                        TextWidth, PrintableWidth, SetFont,   Failure};

}  // namespace
}  // namespace vrk

extern "C" __attribute__((visibility("default"))) const VrkPdfFunctions* VrkPdfModule() { return &vrk::kFunctions; }
