#include "ui/frmReportDest.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "report/ReportSetup.h"
#include "ui/QtUi.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {
namespace {

// A box of digits: any other key but Backspace (and the keys that move the caret) beeps.
class DigitBox : public QLineEdit {
 public:
  DigitBox(int maxLength, Ui& ui, QWidget* parent) : QLineEdit(parent), ui_(ui) {
    setMaxLength(maxLength);
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * (maxLength + 2) + 12);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const QString text = event->text();
    if (!text.isEmpty() && text[0].isPrint() && !text[0].isDigit()) {
      ui_.Beep();
      return;
    }
    QLineEdit::keyPressEvent(event);
  }

 private:
  Ui& ui_;
};

}  // namespace

frmReportDest::frmReportDest(ReportSetup& setup, QtUi& ui, QWidget* parent)
    : QDialog(parent),
      fraDestination(new QGroupBox(tr("Report Destination"), this)),
      fraFormat(new QGroupBox(tr("Report Format"), this)),
      fraPaper(new QGroupBox(tr("Paper Options"), this)),
      optMonitor(new QRadioButton(tr("&Monitor"), fraDestination)),
      optPrinter(new QRadioButton(tr("&Printer"), fraDestination)),
      optQuickView(new QRadioButton(tr("&Quick View"), fraDestination)),
      optASCIIFile(new QRadioButton(tr("&ASCII File"), fraDestination)),
      // Every letter of its caption is another control's access key.
      optHTMLFile(new QRadioButton(tr("HTML File"), fraDestination)),
      optDBase(new QRadioButton(tr("d&Base File"), fraDestination)),
      optContinuous(new QRadioButton(tr("Contin&uous"), fraPaper)),
      optSingle(new QRadioButton(tr("Single Sh&eet"), fraPaper)),
      optLabels(new QRadioButton(tr("&Labels"), fraPaper)),
      chkPrintMemos(new QCheckBox(tr("P&rint Memos"), fraFormat)),
      chkDashed(new QCheckBox(tr("&Dashed Line"), fraFormat)),
      chkColHeadings(new QCheckBox(tr("Column &Headings"), fraFormat)),
      chkLockTop(new QCheckBox(tr("Loc&k Top Line"), fraFormat)),
      chkNoSpace(new QCheckBox(tr("&No Space"), fraFormat)),
      chkPageNum(new QCheckBox(tr("Page Numbers"), fraFormat)),
      txtPageLength(new DigitBox(kPageLengthDigits, ui, this)),
      txtTopMargin(new DigitBox(kTopMarginDigits, ui, this)),
      txtQVMaxLines(new DigitBox(kQuickViewLinesDigits, ui, this)),
      txtQVColWidth(new DigitBox(kQuickViewWidthDigits, ui, this)),
      cmdFonts(new QPushButton(tr("&Fonts..."), this)),
      cmdOK(new QPushButton(tr("OK"), this)),
      cmdCancel(new QPushButton(tr("Cancel"), this)),
      setup_(setup),
      ui_(ui),
      destinations_(new QButtonGroup(this)),
      papers_(new QButtonGroup(this)) {
  setWindowTitle(tr("Report Setup"));

  auto* destinationColumn = new QVBoxLayout(fraDestination);
  // Each option's id is the destination it stands for.
  const std::pair<QRadioButton*, ReportDestination> options[] = {
      {optMonitor, ReportDestination::kMainWindow},  {optPrinter, ReportDestination::kPrinter},
      {optQuickView, ReportDestination::kQuickView}, {optASCIIFile, ReportDestination::kAsciiFile},
      {optHTMLFile, ReportDestination::kHtmlFile},   {optDBase, ReportDestination::kDbaseFile}};
  for (const auto& [option, destination] : options) {
    destinations_->addButton(option, static_cast<int>(destination));
    destinationColumn->addWidget(option);
  }
  int number = 0;
  auto* paperColumn = new QVBoxLayout(fraPaper);
  number = 0;
  for (QRadioButton* option : {optContinuous, optSingle, optLabels}) {
    papers_->addButton(option, number++);
    paperColumn->addWidget(option);
  }
  auto* formatColumn = new QVBoxLayout(fraFormat);
  for (QCheckBox* box : {chkPrintMemos, chkDashed, chkColHeadings, chkLockTop}) formatColumn->addWidget(box);
  chkNoSpace->setContentsMargins(20, 0, 0, 0);
  auto* noSpaceRow = new QHBoxLayout;
  noSpaceRow->addSpacing(20);
  noSpaceRow->addWidget(chkNoSpace);
  formatColumn->addLayout(noSpaceRow);
  formatColumn->addWidget(chkPageNum);

  auto* boxes = new QGridLayout;
  const struct {
    const char* caption;
    QLineEdit* box;
  } rows[] = {{"Page Len&gth:", txtPageLength},
              {"&Top Margin", txtTopMargin},
              {"QV Max # L&ines:", txtQVMaxLines},
              {"QV Max Col &Width:", txtQVColWidth}};
  int row = 0;
  for (const auto& [caption, box] : rows) {
    auto* label = new QLabel(tr(caption), this);
    label->setBuddy(box);
    boxes->addWidget(label, row, 0);
    boxes->addWidget(box, row++, 1);
  }
  boxes->setColumnStretch(2, 1);

  auto* notes = new QLabel(this);
  notes->setWordWrap(true);
  notes->setTextFormat(Qt::PlainText);
  notes->setText(
      tr("Continuous: for every printer that feeds paper by itself (dot matrix, laser, ink jet, bubble jet).\n"
         "Single Sheet: only for printers whose pages must be fed by hand, or for printing on both sides of the "
         "page."));
  auto* notesColumn = new QVBoxLayout;
  notesColumn->addWidget(Bold(new QLabel(tr("Notes: Paper Options"), this)));
  notesColumn->addWidget(notes);
  notesColumn->addStretch();

  auto* top = new QHBoxLayout;
  top->addWidget(fraDestination);
  top->addWidget(fraFormat);
  top->addWidget(fraPaper);
  auto* middle = new QHBoxLayout;
  middle->addLayout(boxes);
  middle->addLayout(notesColumn, 1);
  auto* buttons = ButtonRow({cmdOK, cmdCancel});
  buttons->insertWidget(0, cmdFonts);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(middle);
  layout->addLayout(buttons);
  notes->setMinimumWidth(300);
  SetTabOrder({optMonitor,    optPrinter, optQuickView,   optASCIIFile,  optHTMLFile,  optDBase,
               chkPrintMemos, chkDashed,  chkColHeadings, chkLockTop,    chkNoSpace,   chkPageNum,
               optContinuous, optSingle,  optLabels,      txtPageLength, txtTopMargin, txtQVMaxLines,
               txtQVColWidth, cmdFonts,   cmdOK,          cmdCancel});

  if (!setup.formatSelected) {
    optPrinter->setEnabled(false);
    optASCIIFile->setEnabled(false);
    optHTMLFile->setEnabled(false);
  }
  // A destination stored before stays shown as chosen, even one that cannot be chosen now.
  destinations_->button(static_cast<int>(setup.destination))->setChecked(true);
  papers_->button(static_cast<int>(setup.paper))->setChecked(true);
  chkPrintMemos->setChecked(setup.printMemos);
  chkDashed->setChecked(setup.dashedLine);
  chkColHeadings->setChecked(setup.columnHeadings);
  chkLockTop->setChecked(setup.lockTopLine);
  chkNoSpace->setChecked(setup.noSpace);
  chkNoSpace->setEnabled(setup.lockTopLine);
  chkPageNum->setChecked(setup.pageNumbers);
  txtPageLength->setText(QString::fromStdString(setup.pageLength));
  txtTopMargin->setText(QString::fromStdString(setup.topMargin));
  txtQVMaxLines->setText(QString::fromStdString(setup.quickViewLines));
  txtQVColWidth->setText(QString::fromStdString(setup.quickViewWidth));
  if (setup.readOnly) {
    for (QWidget* control : std::initializer_list<QWidget*>{fraDestination, fraFormat, fraPaper, cmdFonts, cmdOK})
      control->setEnabled(false);
    for (QLineEdit* box : {txtPageLength, txtTopMargin, txtQVMaxLines, txtQVColWidth}) box->setReadOnly(true);
    cmdCancel->setDefault(true);
  }

  connect(chkLockTop, &QCheckBox::clicked, this, &frmReportDest::chkLockTop_Click);
  connect(cmdFonts, &QPushButton::clicked, this, &frmReportDest::cmdFonts_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmReportDest::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmReportDest::cmdCancel_Click);
}

void frmReportDest::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  for (QLineEdit* box : {txtPageLength, txtTopMargin, txtQVMaxLines, txtQVColWidth}) {
    DrawBoxFrame(painter, box->geometry(), box->palette().color(QPalette::Base));
  }
}

void frmReportDest::chkLockTop_Click() {
  if (!chkLockTop->isChecked()) chkNoSpace->setChecked(false);
  chkNoSpace->setEnabled(chkLockTop->isChecked());
}

void frmReportDest::cmdFonts_Click() {
  const PrinterFont& current = *setup_.printerFont;
  QFont font(current.name.empty() ? BoxFont().family() : ToQString(current.name));
  if (current.size > 0) font.setPointSizeF(current.size);
  font.setBold(current.bold);
  font.setItalic(current.italic);
  font.setUnderline(current.underline);
  QFontDialog chooser(font, this);
  chooser.setWindowTitle(tr("Font"));
  std::optional<PrinterFont> chosen;
  if (ui_.RunModal(chooser) == QDialog::Accepted) {
    const QFont picked = chooser.selectedFont();
    chosen = PrinterFont{.name = FromQString(picked.family()),
                         .size = picked.pointSizeF(),
                         .bold = picked.weight() >= QFont::Bold,
                         .italic = picked.italic(),
                         .underline = picked.underline()};
  }
  ChoosePrinterFont(setup_, chosen);
}

void frmReportDest::cmdOK_Click() {
  setup_.destination = static_cast<ReportDestination>(destinations_->checkedId());
  setup_.paper = static_cast<PaperOption>(papers_->checkedId());
  setup_.printMemos = chkPrintMemos->isChecked();
  setup_.dashedLine = chkDashed->isChecked();
  setup_.columnHeadings = chkColHeadings->isChecked();
  setup_.lockTopLine = chkLockTop->isChecked();
  setup_.noSpace = chkNoSpace->isChecked();
  setup_.pageNumbers = chkPageNum->isChecked();
  setup_.pageLength = txtPageLength->text().toStdString();
  setup_.topMargin = txtTopMargin->text().toStdString();
  setup_.quickViewLines = txtQVMaxLines->text().toStdString();
  setup_.quickViewWidth = txtQVColWidth->text().toStdString();
  const SetupBox failed = CheckReportSetup(setup_);
  txtQVMaxLines->setText(QString::fromStdString(setup_.quickViewLines));
  switch (failed) {
    case SetupBox::kNone: accept(); return;
    case SetupBox::kPageLength: txtPageLength->setFocus(); return;
    case SetupBox::kTopMargin: txtTopMargin->setFocus(); return;
    case SetupBox::kQuickViewLines: txtQVMaxLines->setFocus(); return;
    case SetupBox::kQuickViewWidth: txtQVColWidth->setFocus(); return;
  }
}

void frmReportDest::cmdCancel_Click() { reject(); }

}  // namespace vrk
