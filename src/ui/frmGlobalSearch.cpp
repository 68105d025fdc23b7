#include "ui/frmGlobalSearch.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/SearchCommands.h"
#include "ui/QtUi.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {

frmGlobalSearch::frmGlobalSearch(GlobalSearchDialog& dialog, QtUi& ui, QWidget* parent)
    : QDialog(parent),
      txtGlobalString(new QLineEdit(ToQString(dialog.text), this)),
      chkCaseSense(new QCheckBox(tr("Case Sensiti&ve"), this)),
      cmdRptSetup(new QPushButton(tr("&Report Setup"), this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      dialog_(dialog),
      ui_(ui) {
  setWindowTitle(tr("Global Search"));
  chkCaseSense->setChecked(dialog.caseSensitive);
  auto* buttons = ButtonRow({cmdOK, cmdCancel});
  buttons->insertWidget(0, cmdRptSetup);
  auto* label = new QLabel(tr("&Search for:"), this);
  label->setBuddy(txtGlobalString);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(txtGlobalString);
  layout->addWidget(chkCaseSense);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  setMinimumWidth(40 * fontMetrics().averageCharWidth());
  setModal(true);
  txtGlobalString->setFocus();
  connect(chkCaseSense, &QCheckBox::clicked, this, &frmGlobalSearch::chkCaseSense_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmGlobalSearch::cmdOK_Click);
  connect(cmdRptSetup, &QPushButton::clicked, this, [this] { dialog_.setup.EditReportSetup(); });
  connect(cmdCancel, &QPushButton::clicked, this, &frmGlobalSearch::cmdCancel_Click);
}

void frmGlobalSearch::chkCaseSense_Click() { dialog_.setup.SetCaseSensitive(chkCaseSense->isChecked()); }

void frmGlobalSearch::cmdOK_Click() {
  const std::string text = FromQString(txtGlobalString->text());
  if (const std::string problem = CheckGlobalText(text); !problem.empty()) {
    ui_.Message(problem);
    txtGlobalString->setFocus();
    return;
  }
  dialog_.text = text;
  accept();
}

void frmGlobalSearch::cmdCancel_Click() { reject(); }

}  // namespace vrk
