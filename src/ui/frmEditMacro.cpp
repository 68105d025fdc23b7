#include "ui/frmEditMacro.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/Program.h"
#include "shell/TextMacros.h"
#include "support/Macros.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {

frmEditMacro::frmEditMacro(EditMacro& edit, QWidget* parent)
    : QDialog(parent),
      cboKeys(new QComboBox(this)),
      txtMacroText(new QLineEdit(this)),
      cmdSave(new QPushButton(tr("&Save"), this)),
      cmdOK(new QPushButton(tr("&Exit"), this)),
      edit_(edit) {
  setWindowTitle(tr("Edit Macro"));
  for (int i = 0; i < kMacroKeys; ++i) cboKeys->addItem(ToQString(MacroKeyName(i)));
  txtMacroText->setMaxLength(static_cast<int>(lib::kMacroLength));
  txtMacroText->setFont(BoxFont());
  txtMacroText->setMinimumWidth(QFontMetrics(txtMacroText->font()).horizontalAdvance(QLatin1Char('W')) * 66);
  auto* form = new QFormLayout;
  form->addRow(tr("&Key"), cboKeys);
  form->addRow(tr("Macro &Text"), txtMacroText);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addSpacing(6);
  layout->addLayout(ButtonRow({cmdSave, cmdOK}));
  setModal(true);
  connect(cboKeys, &QComboBox::currentIndexChanged, this, &frmEditMacro::cboKeys_Click);
  connect(cmdSave, &QPushButton::clicked, this, &frmEditMacro::cmdSave_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmEditMacro::cmdOK_Click);
  cboKeys->setCurrentIndex(edit.chosen);
  cboKeys_Click();
  txtMacroText->setFocus();
}

void frmEditMacro::cboKeys_Click() {
  edit_.chosen = std::max(0, cboKeys->currentIndex());
  txtMacroText->setText(ToQString(TypedMacro(edit_.program.macros.table, edit_.chosen)));
}

void frmEditMacro::cmdSave_Click() { SaveMacroText(edit_, edit_.chosen, FromQString(txtMacroText->text())); }

void frmEditMacro::cmdOK_Click() { accept(); }

}  // namespace vrk
