#include "ui/frmListRange.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/SearchCommands.h"
#include "ui/PromptLayout.h"
#include "ui/QtUi.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {

frmListRange::frmListRange(ListRangeDialog& dialog, QtUi& ui, QWidget* parent)
    : QDialog(parent),
      txtStartRec(new QLineEdit(ToQString(dialog.startText), this)),
      txtEndRec(new QLineEdit(ToQString(dialog.endText), this)),
      cmdRptSetup(new QPushButton(tr("&Report Setup"), this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      dialog_(dialog),
      ui_(ui) {
  setWindowTitle(tr("List Range"));
  AcceptDigitsOnly(txtStartRec, ui);
  AcceptDigitsOnly(txtEndRec, ui);
  auto* form = new QFormLayout;
  form->addRow(tr("&Start #"), txtStartRec);
  form->addRow(tr("&End #"), txtEndRec);
  auto* buttons = ButtonRow({cmdOK, cmdCancel});
  buttons->insertWidget(0, cmdRptSetup);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  setMinimumWidth(300);
  setModal(true);
  txtStartRec->setFocus();
  connect(cmdOK, &QPushButton::clicked, this, &frmListRange::cmdOK_Click);
  connect(cmdRptSetup, &QPushButton::clicked, this, [this] { dialog_.setup.EditReportSetup(); });
  connect(cmdCancel, &QPushButton::clicked, this, &frmListRange::cmdCancel_Click);
}

void frmListRange::cmdOK_Click() {
  const RangeCheck check =
      CheckListRange(FromQString(txtStartRec->text()), FromQString(txtEndRec->text()), dialog_.entryCount);
  if (check.message.empty()) {
    dialog_.range = check.range;
    accept();
    return;
  }
  ui_.Message(check.message);
  if (check.endText) txtEndRec->setText(ToQString(*check.endText));
  (check.focus == RangeBox::kStart ? txtStartRec : txtEndRec)->setFocus();
}

void frmListRange::cmdCancel_Click() { reject(); }

}  // namespace vrk
