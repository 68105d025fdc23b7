// The printed report of a vrkcli list or search, printed by the desktop program's Qt printer into a
// PDF file, on Qt's offscreen platform.
#include <QGuiApplication>

#include "app/vrkcli/OutputOptions.h"
#include "ui/QtPrinter.h"

namespace vrk::cli {
namespace {

QGuiApplication& Application() {
  static int argc = 1;
  static char name[] = "vrkcli";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication application(argc, argv);
  return application;
}

class PdfOutput : public EntryOutput {
 public:
  PdfOutput(Program& program, const std::string& path) {
    printer_.PrintToPdf(path);
    output_ = MakeReportOutput({program, printer_, program.report, false}, ReportDestination::kPrinter);
  }
  bool Start() override { return output_->Start(); }
  Sent Send(EntryNumber n, const EntryRecord& entry) override { return output_->Send(n, entry); }
  bool Finish(EntryNumber count) override { return output_->Finish(count); }

 private:
  QGuiApplication& application_ = Application();  // before the printer: Qt needs it first
  QtPrinter printer_;
  std::unique_ptr<EntryOutput> output_;
};

}  // namespace

std::unique_ptr<EntryOutput> MakePdfOutput(Program& program, const std::string& path) {
  return std::make_unique<PdfOutput>(program, path);
}

}  // namespace vrk::cli
