#include "ui/frmSearch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "shell/SearchCommands.h"
#include "ui/FieldLines.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {
namespace {

constexpr const char* kHelpText =
    "If you are doing an alphabetical search, the line used to set the alphabetical order for the search is "
    "highlighted in red. If no information is entered for this line, the search may take a long time. When "
    "information is entered on this line , the software searches for exact matches. For example, entering the "
    "first word of a song's title on the Song Title line finds every song whose title starts with that word.";

void Colour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, colour);
  widget->setPalette(palette);
}

}  // namespace

frmSearch::frmSearch(SearchDialog& dialog, QWidget* parent)
    : QDialog(parent),
      cboKeyFields(new QComboBox(this)),
      optSequential(new QRadioButton(tr("Entire Catalog Se&quentially"), this)),
      optAlpha(new QRadioButton(tr("&Alphabetically By Key Field"), this)),
      cmdSetStart(new QPushButton(tr("Set &Start"), this)),
      cmdSetEnd(new QPushButton(tr("Set &End"), this)),
      chkCaseSense(new QCheckBox(tr("Case Sensiti&ve"), this)),
      cmdClear(new QPushButton(tr("Clear"), this)),
      cmdSrcSetup(new QPushButton(tr("Search Setu&p"), this)),
      cmdRptSetup(new QPushButton(tr("&Report/Output Setup"), this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      dialog_(dialog) {
  setWindowTitle(tr("Search"));
  auto* lines = new QGridLayout;
  lines->setVerticalSpacing(3);
  lines->addWidget(Bold(new QLabel(tr("Field Search Criteria"), this)), 0, 0, 1, 2);
  lines->addWidget(new QLabel(tr("Enter text to search for on the appropriate line(s)."), this), 1, 0, 1, 2);
  AddFieldLines(this, lines, 2, dialog.lines, lblFieldName, txtFieldData);
  lines->setRowStretch(2 + static_cast<int>(dialog.lines.size()), 1);

  for (const KeyFieldItem& item : dialog.keyFields.items) cboKeyFields->addItem(ToCaption(item.name), item.field);
  cboKeyFields->setCurrentIndex(dialog.keyFields.current);
  auto* keyLabel = new QLabel(tr("&Key Field:"), this);
  keyLabel->setBuddy(cboKeyFields);
  auto* order = new QGroupBox(tr("Search Order"), this);
  auto* orderLayout = new QVBoxLayout(order);
  orderLayout->addWidget(optSequential);
  orderLayout->addWidget(optAlpha);
  auto* alphaSetup = new QGroupBox(tr("Alphabetical Search Order Setup"), this);
  auto* alphaLayout = new QHBoxLayout(alphaSetup);
  alphaLayout->addWidget(cmdSetStart);
  alphaLayout->addWidget(cmdSetEnd);
  auto* help = new QLabel(tr(kHelpText), this);
  help->setWordWrap(true);
  auto* side = new QVBoxLayout;
  side->addWidget(keyLabel);
  side->addWidget(cboKeyFields);
  side->addWidget(order);
  side->addWidget(alphaSetup);
  side->addWidget(chkCaseSense);
  side->addWidget(help);
  side->addStretch();
  for (QPushButton* button : {cmdClear, cmdSrcSetup, cmdRptSetup}) side->addWidget(button);
  side->addLayout(ButtonRow({cmdOK, cmdCancel}));
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(ScrollingRows(lines, this), 1);
  layout->addSpacing(12);
  layout->addLayout(side);
  // A wrapped label asks for its height only once its width is fixed.
  help->setFixedWidth(320);
  help->setMinimumHeight(help->heightForWidth(320));
  setModal(true);

  connect(cboKeyFields, &QComboBox::currentIndexChanged, this, &frmSearch::cboKeyFields_Click);
  connect(optSequential, &QRadioButton::clicked, this, &frmSearch::optSequential_Click);
  connect(optAlpha, &QRadioButton::clicked, this, &frmSearch::optAlpha_Click);
  connect(chkCaseSense, &QCheckBox::clicked, this, &frmSearch::chkCaseSense_Click);
  connect(cmdClear, &QPushButton::clicked, this, &frmSearch::cmdClear_Click);
  connect(cmdSetStart, &QPushButton::clicked, this, &frmSearch::cmdSetStart_Click);
  connect(cmdSetEnd, &QPushButton::clicked, this, &frmSearch::cmdSetEnd_Click);
  connect(cmdSrcSetup, &QPushButton::clicked, this, &frmSearch::cmdSrcSetup_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmSearch::cmdOK_Click);
  connect(cmdRptSetup, &QPushButton::clicked, this, [this] { dialog_.setup.EditReportSetup(); });
  connect(cmdCancel, &QPushButton::clicked, this, &frmSearch::cmdCancel_Click);

  optAlpha->setEnabled(!dialog.keyFields.items.empty());
  chkCaseSense->setChecked(dialog.caseSensitive);
  if (dialog.alphabetical) {
    optAlpha->setChecked(true);
    optAlpha_Click();
  } else {
    optSequential->setChecked(true);
    optSequential_Click();
  }
  for (QLineEdit* box : txtFieldData) {
    if (!box->isHidden()) {
      box->setFocus();
      break;
    }
  }
}

void frmSearch::ColourLines(bool highlight) {
  const int keyField = cboKeyFields->currentIndex() >= 0 ? cboKeyFields->currentData().toInt() : -1;
  for (std::size_t i = 0; i < txtFieldData.size(); ++i) {
    if (lblFieldName[i]->isHidden()) continue;
    const bool red = highlight && static_cast<int>(i) == keyField;
    Colour(lblFieldName[i], QPalette::WindowText, red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    Colour(txtFieldData[i], QPalette::Base, red ? QColor(255, 0, 0) : QColor(192, 192, 192));
  }
}

void frmSearch::cboKeyFields_Click() { ColourLines(optAlpha->isChecked()); }

void frmSearch::optSequential_Click() {
  for (QWidget* control : std::initializer_list<QWidget*>{cmdSetStart, cmdSetEnd, cboKeyFields}) {
    control->setEnabled(false);
  }
  chkCaseSense->setEnabled(true);
  ColourLines(false);
}

void frmSearch::optAlpha_Click() {
  for (QWidget* control : std::initializer_list<QWidget*>{cmdSetStart, cmdSetEnd, cboKeyFields}) {
    control->setEnabled(true);
  }
  chkCaseSense->setEnabled(false);
  ColourLines(true);
}

void frmSearch::chkCaseSense_Click() { dialog_.setup.SetCaseSensitive(chkCaseSense->isChecked()); }

void frmSearch::cmdClear_Click() {
  for (QLineEdit* box : txtFieldData) {
    if (!box->isHidden()) box->clear();
  }
}

void frmSearch::cmdSetStart_Click() { dialog_.setup.EditCriteria(CriteriaMode::kStartingPoint); }
void frmSearch::cmdSetEnd_Click() { dialog_.setup.EditCriteria(CriteriaMode::kEndingPoint); }
void frmSearch::cmdSrcSetup_Click() { dialog_.setup.EditCriteria(CriteriaMode::kSearchCriteria); }

void frmSearch::cmdOK_Click() {
  for (std::size_t i = 0; i < txtFieldData.size(); ++i) dialog_.lines[i].text = FromQString(txtFieldData[i]->text());
  dialog_.keyFields.current = cboKeyFields->currentIndex();
  dialog_.alphabetical = optAlpha->isChecked();
  if (dialog_.setup.AcceptSearch(dialog_)) accept();
}

void frmSearch::cmdCancel_Click() { reject(); }

}  // namespace vrk
