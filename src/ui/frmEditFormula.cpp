#include "ui/frmEditFormula.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/CatalogSetup.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {

frmEditFormula::frmEditFormula(EditFormula& editor, QWidget* parent)
    : QDialog(parent),
      lblFieldName(new QLabel(this)),
      cboField1(new QComboBox(this)),
      cboOperator(new QComboBox(this)),
      cboField2(new QComboBox(this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      editor_(editor) {
  setWindowTitle(tr("Edit Formula"));
  lblFieldName->setTextFormat(Qt::PlainText);
  lblFieldName->setText(ToQString(editor.fieldName));
  Bold(lblFieldName);
  for (const auto& [name, field] : editor.operands) {
    cboField1->addItem(ToQString(name), field);
    cboField2->addItem(ToQString(name), field);
  }
  for (const char* name : kOperatorNames) cboOperator->addItem(QString::fromLatin1(name));
  if (editor.formula.Valid) {
    cboField1->setCurrentIndex(cboField1->findData(editor.formula.Operand1));
    cboField2->setCurrentIndex(cboField2->findData(editor.formula.Operand2));
    cboOperator->setCurrentIndex(editor.formula.Operator);
  }
  cmdOK->setEnabled(!editor.operands.empty());

  auto* form = new QFormLayout;
  form->addRow(tr("Field:"), lblFieldName);
  form->addRow(tr("&First field:"), cboField1);
  form->addRow(tr("O&perator:"), cboOperator);
  form->addRow(tr("&Second field:"), cboField2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addSpacing(6);
  layout->addLayout(ButtonRow({cmdOK, cmdCancel}));
  setMinimumWidth(340);
  setModal(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmEditFormula::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmEditFormula::cmdCancel_Click);
}

void frmEditFormula::cmdOK_Click() {
  editor_.formula.Operand1 = static_cast<short>(cboField1->currentData().toInt());
  editor_.formula.Operand2 = static_cast<short>(cboField2->currentData().toInt());
  editor_.formula.Operator = static_cast<short>(cboOperator->currentIndex());
  editor_.formula.Valid = true;
  accept();
}

void frmEditFormula::cmdCancel_Click() { reject(); }

}  // namespace vrk
