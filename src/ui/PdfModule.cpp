// vrkpdf.so, the module that prints into a PDF file for the command-line programs: the desktop
// program's Qt printer on Qt's offscreen platform, in a process that has no window.
#include <QGuiApplication>
#include <new>

#include "platform/PdfPrinter.h"
#include "ui/QtPrinter.h"

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

}  // namespace
}  // namespace vrk

extern "C" __attribute__((visibility("default"))) vrk::Printer* VrkPdfPrinter(const char* path) {
  vrk::StartApplication();
  auto* printer = new (std::nothrow) vrk::QtPrinter();
  if (printer != nullptr) printer->PrintToPdf(path);
  return printer;
}
