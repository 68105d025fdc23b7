#include "ui/frmReplace.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "search/Replace.h"
#include "ui/PromptLayout.h"
#include "ui/QtUi.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {

frmReplace::frmReplace(ReplaceDialog& dialog, QtUi& ui, QWidget* parent)
    : QDialog(parent),
      txtSearchString(new QLineEdit(this)),
      txtReplaceString(new QLineEdit(this)),
      txtStartRec(new QLineEdit(this)),
      optField(new QRadioButton(tr("Field Replace"), this)),
      optGlobal(new QRadioButton(tr("Global Replace"), this)),
      cboFields(new QComboBox(this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      dialog_(dialog),
      ui_(ui) {
  setWindowTitle(tr("Search and Replace"));
  txtSearchString->setText(ToQString(dialog.searchText));
  txtStartRec->setText(ToQString(dialog.startRec));
  AcceptDigitsOnly(txtStartRec, ui);
  for (const auto& [name, field] : dialog.fields) cboFields->addItem(ToQString(name), field);
  optField->setChecked(true);
  connect(optField, &QRadioButton::toggled, cboFields, &QWidget::setEnabled);

  auto* form = new QFormLayout;
  form->addRow(tr("Search &For:"), txtSearchString);
  form->addRow(tr("Replace &With:"), txtReplaceString);
  form->addRow(tr("Starting &Record:"), txtStartRec);
  auto* mode = new QGroupBox(this);
  auto* modeLayout = new QHBoxLayout(mode);
  modeLayout->addWidget(optField);
  modeLayout->addWidget(optGlobal);
  auto* fields = new QFormLayout;
  fields->addRow(tr("Fiel&ds:"), cboFields);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(mode);
  layout->addLayout(fields);
  layout->addSpacing(6);
  layout->addLayout(ButtonRow({cmdOK, cmdCancel}));
  setMinimumWidth(380);
  setModal(true);
  txtSearchString->setFocus();
  connect(cmdOK, &QPushButton::clicked, this, &frmReplace::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmReplace::cmdCancel_Click);
}

void frmReplace::cmdOK_Click() {
  dialog_.searchText = FromQString(txtSearchString->text());
  dialog_.replacement = FromQString(txtReplaceString->text());
  dialog_.startRec = FromQString(txtStartRec->text());
  dialog_.global = optGlobal->isChecked();
  if (cboFields->currentIndex() >= 0) dialog_.field = static_cast<short>(cboFields->currentData().toInt());
  switch (CheckReplaceDialog(ui_, dialog_)) {
    case ReplaceBox::kSearchString: return txtSearchString->setFocus();
    case ReplaceBox::kStartRec: txtStartRec->setText(ToQString(dialog_.startRec)); return txtStartRec->setFocus();
    case ReplaceBox::kNone: break;
  }
  accept();
}

void frmReplace::cmdCancel_Click() { reject(); }

}  // namespace vrk
