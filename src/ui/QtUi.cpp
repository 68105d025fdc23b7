#include "ui/QtUi.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QThread>

#include "admin/CatalogMaintenance.h"
#include "admin/CatalogSetup.h"
#include "admin/CopyEntries.h"
#include "admin/Sort.h"
#include "catalog/Catalog.h"
#include "report/PrintedOutput.h"
#include "report/QuickView.h"
#include "report/ReportDesigner.h"
#include "report/ReportMaintenance.h"
#include "report/ReportSetup.h"
#include "search/Replace.h"
#include "shell/Memos.h"
#include "shell/PictureSound.h"
#include "shell/SearchCommands.h"
#include "shell/Spreadsheets.h"
#include "shell/TextMacros.h"
#include "ui/PromptLayout.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"
#include "ui/frmCatMaint.h"
#include "ui/frmCatSetup.h"
#include "ui/frmCatalogTable.h"
#include "ui/frmConfigCpy.h"
#include "ui/frmCriteria.h"
#include "ui/frmCsvDialect.h"
#include "ui/frmEditFormula.h"
#include "ui/frmEditMacro.h"
#include "ui/frmEnterName.h"
#include "ui/frmEnterNumber.h"
#include "ui/frmGauge.h"
#include "ui/frmGlobalSearch.h"
#include "ui/frmListAlpha.h"
#include "ui/frmListRange.h"
#include "ui/frmMemo.h"
#include "ui/frmNotCompatible.h"
#include "ui/frmPicSound.h"
#include "ui/frmPicture.h"
#include "ui/frmQView.h"
#include "ui/frmRTitle.h"
#include "ui/frmReplace.h"
#include "ui/frmReportDest.h"
#include "ui/frmRptMaintenance.h"
#include "ui/frmRptSetup.h"
#include "ui/frmSearch.h"
#include "ui/frmSortSetup.h"
#include "ui/frmSrcDest.h"

namespace vrk {
namespace {

QMessageBox::Icon IconOf(Icon icon) {
  switch (icon) {
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case Buttons::Ok: break;
  }
  return QMessageBox::Ok;
}

// The button that answers No: the default of a question that destroys data, and Escape's in every box.
QMessageBox::StandardButton CancellingButton(Buttons buttons) {
  switch (buttons) {
    case Buttons::YesNo: return QMessageBox::No;
    case Buttons::OkCancel:
    case Buttons::RetryCancel: return QMessageBox::Cancel;
    case Buttons::Ok: break;
  }
  return QMessageBox::Ok;
}

// A box closed without a button (the close box) answers as its cancelling button.
Answer AnswerOf(QMessageBox::StandardButton clicked, Buttons buttons) {
  switch (clicked == QMessageBox::NoButton ? CancellingButton(buttons) : clicked) {
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Retry: return Answer::Retry;
    default: return Answer::Ok;
  }
}

}  // namespace

QStringList NameFilters(const std::string& filter) {
  const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString pattern = parts[i + 1];
    pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString& description = parts[i];
    filters << (description.contains(QLatin1Char('(')) ? description : description + " (" + pattern + ")");
  }
  return filters;
}

QtUi::QtUi() {
  RegisterWindow<frmNotCompatible, CatalogNotCompatible>();
  RegisterWindow<frmCatMaint, CatalogMaintenance>();
  RegisterWindow<frmCatSetup, CatalogSetup>();
  RegisterWindow<frmEditFormula, EditFormula>();
  RegisterWindow<frmSortSetup, SortSetup>();
  RegisterWindow<frmSrcDest, SourceDestination>();
  RegisterWindow<frmConfigCpy, ConfigureCopy>();
  RegisterWindow<frmMemo, MemoEditor>();
  RegisterWindow<frmPicSound, PictureSoundEditor>();
  RegisterWindow<frmEditMacro, EditMacro>();
  dialogs.Register<PictureWindow>(
      [this](PictureWindow& window) { return frmPicture::Open(window, *this, MainWindow()); });
  RegisterWindow<frmRTitle, ReportTitle>();
  RegisterWindow<frmCsvDialect, CsvDialectChoice>();
  RegisterWindow<frmQView, QuickView>();
  RegisterWindow<frmReportDest, ReportSetup>();
  RegisterWindow<frmRptMaintenance, ReportMaintenance>();
  RegisterWindow<frmRptSetup, ReportDesigner>();
  RegisterWindow<frmReplace, ReplaceDialog>();
  RegisterWindow<frmSearch, SearchDialog>();
  RegisterWindow<frmCriteria, CriteriaDialog>();
  RegisterWindow<frmListRange, ListRangeDialog>();
  RegisterWindow<frmListAlpha, ListAlphaDialog>();
  RegisterWindow<frmGlobalSearch, GlobalSearchDialog>();
  dialogs.Register<CatalogTableWindow>(
      [this](CatalogTableWindow& window) { return frmCatalogTable::Open(window, *this, MainWindow()); });
}

QtUi::~QtUi() { CloseGaugeWindow(); }

void QtUi::SetMainWindow(QMainWindow* window) { mainWindow_ = window; }

QWidget* QtUi::MainWindow() const { return mainWindow_.data(); }

int QtUi::RunModal(QDialog& dialog) {
  dialog.setWindowModality(Qt::ApplicationModal);
  // Centred on the screen, not on the main window (which may not be shown yet), for the size the dialog
  // takes as it is shown, within the screen.
  FitToScreen(dialog);
  CenterWhenShown(dialog);
  if (!takeOver) return dialog.exec();
  dialog.setResult(QDialog::Rejected);
  dialog.show();
  takeOver(dialog);
  if (dialog.isVisible()) dialog.reject();
  return dialog.result();
}

Answer QtUi::ShowMessage(const MessageBox& box) {
  QMessageBox message(IconOf(box.icon), ToWindowTitle(box.title), ToQStringLines(box.text), ButtonsOf(box.buttons),
                      MainWindow());
  message.setTextFormat(Qt::PlainText);
  message.setEscapeButton(CancellingButton(box.buttons));
  if (box.defaultNo) message.setDefaultButton(CancellingButton(box.buttons));
  RunModal(message);
  return AnswerOf(message.standardButton(message.clickedButton()), box.buttons);
}

void QtUi::Beep() { QApplication::beep(); }

void QtUi::ShowBusy() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtUi::ClearBusy() {
  while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
}

void QtUi::DoEvents() {
  const QScopedValueRollback running(doingEvents_, true);
  QCoreApplication::processEvents();
}

bool QtUi::Idle() const {
  return !doingEvents_ && QApplication::activeModalWidget() == nullptr && QThread::currentThread()->loopLevel() <= 1;
}

// The menus and the entry screen are disabled rather than the whole window, so that the gauge, a
// window of its own above the main window, keeps its Cancel button.
void QtUi::SetMainWindowEnabled(bool enabled) {
  if (mainWindow_ == nullptr) return;
  if (QWidget* central = mainWindow_->centralWidget()) central->setEnabled(enabled);
  mainWindow_->menuBar()->setEnabled(enabled);
  if (catalogTable != nullptr) catalogTable->setEnabled(enabled);
}

std::optional<std::string> QtUi::ChooseFile(const FileChooser& chooser, bool save) {
  QFileDialog dialog(MainWindow(), ToQString(chooser.title), QFile::decodeName(chooser.directory.c_str()));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !chooser.confirmOverwrite);
  if (!chooser.filter.empty()) dialog.setNameFilters(NameFilters(chooser.filter));
  if (!chooser.fileName.empty()) dialog.selectFile(QFile::decodeName(chooser.fileName.c_str()));
  if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

std::optional<std::string> QtUi::ChooseOpenFile(const FileChooser& chooser) { return ChooseFile(chooser, false); }

std::optional<std::string> QtUi::ChooseSaveFile(const FileChooser& chooser) { return ChooseFile(chooser, true); }

std::optional<std::string> QtUi::RunNumberPrompt(const NumberPrompt& prompt) {
  frmEnterNumber window(*this, MainWindow());
  window.setWindowTitle(ToWindowTitle(prompt.caption));
  window.lblUserAction->setText(ToCaption(prompt.question));
  if (prompt.maxLength > 0) window.txtNumber->setMaxLength(prompt.maxLength);
  if (prompt.password) MaskWithStars(window.txtNumber);
  if (RunModal(window) != QDialog::Accepted) return std::nullopt;
  return FromQString(window.txtNumber->text());
}

std::optional<std::string> QtUi::RunNamePrompt(const NamePrompt& prompt) {
  frmEnterName window(*this, MainWindow());
  window.setWindowTitle(ToWindowTitle(prompt.caption));
  window.lblUserAction->setText(ToCaption(prompt.question));
  window.Tag = prompt.anyTextAllowed ? QStringLiteral("1") : QStringLiteral("0");
  if (prompt.digitsOnly) window.Allowed = QStringLiteral("0-9");
  window.txtName->setText(ToQString(prompt.preset));
  if (prompt.maxLength > 0) window.txtName->setMaxLength(prompt.maxLength);
  if (RunModal(window) != QDialog::Accepted) return std::nullopt;
  return FromQString(window.Tag);
}

// The gauge window is made at once, and Escape cancels from then on, but it is shown only when the
// operation is still running after gaugeDelay: a quick one finishes without a window flashing by.
void QtUi::ShowGaugeWindow(int maximum, const std::string& message, bool cancelAllowed) {
  CloseGaugeWindow();
  gauge_ = new frmGauge(*this, MainWindow());
  gauge_->Gauge1->setRange(1, maximum);
  gauge_->lblMessage->setText(ToQString(message));
  gauge_->cmdCancel->setEnabled(cancelAllowed);
  gauge_->adjustSize();
  QCoreApplication::instance()->installEventFilter(gauge_);
  gaugeClock_.start();
  ShowGaugeWhenDue();
}

void QtUi::SetGaugeValue(int value) {
  if (!gauge_) return;
  gauge_->Gauge1->setValue(value);
  ShowGaugeWhenDue();
}

void QtUi::ShowGaugeWhenDue() {
  if (gauge_ == nullptr || gauge_->isVisible() || gaugeClock_.elapsed() < gaugeDelay.count()) return;
  CenterWhenShown(*gauge_);
  gauge_->show();
}

frmGauge* QtUi::GaugeWindow() const { return gauge_.data(); }

void QtUi::CloseGaugeWindow() { delete gauge_.data(); }

}  // namespace vrk
