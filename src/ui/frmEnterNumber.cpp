#include "ui/frmEnterNumber.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

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
  // Pasted text is held to digits as well; typed characters are refused with a beep below.
  txtNumber->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtNumber));
  txtNumber->installEventFilter(this);
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

bool frmEnterNumber::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtNumber && IsRefusedCharacter(event, QStringLiteral("0-9"))) {
    ui_.Beep();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vrk
