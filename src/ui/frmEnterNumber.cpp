#include "ui/frmEnterNumber.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/Ui.h"
#include "ui/PromptLayout.h"

namespace vrk {

frmEnterNumber::frmEnterNumber(Ui& ui, QWidget* parent)
    : QDialog(parent),
      lblUserAction(new QLabel(this)),
      txtNumber(new QLineEdit(this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      ui_(ui) {
  LayOutPrompt(*this, lblUserAction, txtNumber, cmdOK, cmdCancel);
  AcceptDigitsOnly(txtNumber, ui);
  txtNumber->setFocus();
  connect(cmdOK, &QPushButton::clicked, this, &frmEnterNumber::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmEnterNumber::cmdCancel_Click);
}

void frmEnterNumber::cmdOK_Click() {
  if (txtNumber->text().isEmpty()) {
    ui_.Message("Number cannot be blank.");
    txtNumber->setFocus();
    return;
  }
  accept();
}

void frmEnterNumber::cmdCancel_Click() { reject(); }

}  // namespace vrk
