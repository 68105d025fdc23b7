#include "ui/PrintDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>

namespace vrk {
namespace {

Printer::SetupAnswer RunPrintSetup(QtUi& ui, QPrinter& printer) {
  QPrintDialog setup(&printer, ui.MainWindow());
  setup.setWindowTitle(QStringLiteral("Print Setup"));
  // The dialog prints nothing: its choice is for the prints to come.
  bool preview = false;
  if (auto* buttons = setup.findChild<QDialogButtonBox*>()) {
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("&Use This Printer"));
    QPushButton* show = buttons->addButton(QStringLiteral("Pre&view"), QDialogButtonBox::ActionRole);
    QObject::connect(show, &QPushButton::clicked, &setup, [&setup, &preview] {
      preview = true;
      setup.accept();
    });
  }
  for (auto* names : setup.findChildren<QComboBox*>(QStringLiteral("printers"))) {
    names->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  }
  if (ui.RunModal(setup) != QDialog::Accepted) return Printer::SetupAnswer::kCancelled;
  return preview ? Printer::SetupAnswer::kPreview : Printer::SetupAnswer::kChosen;
}

bool RunPrintPreview(QtUi& ui, QPrinter& pages, const std::function<void(QPrinter&)>& paint) {
  QPrintPreviewDialog preview(&pages, ui.MainWindow());
  preview.setWindowTitle(QStringLiteral("Print Preview"));
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&paint](QPrinter* device) { paint(*device); });
  ui.RunModal(preview);
  return true;
}

std::string ChoosePdfFile(QtUi& ui) {
  const std::optional<std::string> file = ui.ChooseSaveFile(
      {.title = "No Printer: Print to PDF File", .filter = "PDF (*.pdf)|*.pdf", .fileName = "report.pdf"});
  return file.value_or(std::string());
}

}  // namespace

void AttachPrintDialogs(QtPrinter& printer, QtUi& ui) {
  printer.setupDialog = [&ui](QPrinter& chosen) { return RunPrintSetup(ui, chosen); };
  printer.previewDialog = [&ui](QPrinter& pages, const std::function<void(QPrinter&)>& paint) {
    return RunPrintPreview(ui, pages, paint);
  };
  printer.choosePdfFile = [&ui] { return ChoosePdfFile(ui); };
}

}  // namespace vrk
