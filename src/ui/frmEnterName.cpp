#include "ui/frmEnterName.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "platform/Ui.h"
#include "ui/PromptLayout.h"

namespace vrk {

frmEnterName::frmEnterName(Ui& ui, QWidget* parent)
    : QDialog(parent),
      lblUserAction(new QLabel(this)),
      txtName(new QLineEdit(this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      ui_(ui) {
  LayOutPrompt(*this, lblUserAction, txtName, cmdOK, cmdCancel);
  txtName->installEventFilter(this);
  txtName->setFocus();
  // Pasted text follows the same rule as typed text: in letters-and-digits mode the rest is dropped.
  connect(txtName, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (AnyText()) return;
    QString kept = text;
    kept.remove(QRegularExpression(QStringLiteral("[^%1]").arg(Allowed)));
    if (kept != text) txtName->setText(kept);
  });
  connect(cmdOK, &QPushButton::clicked, this, &frmEnterName::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmEnterName::cmdCancel_Click);
}

void frmEnterName::cmdOK_Click() {
  if (txtName->text().isEmpty()) {
    if (windowTitle() == QLatin1String(kSecurityCodeCaption)) {
      // An empty security code is confirmed: it means no code.
      ui_.Message("Invalid Code");
      Tag.clear();
      accept();
      return;
    }
    ui_.Message("Invalid name");
    txtName->setFocus();
    return;
  }
  Tag = txtName->text();
  accept();
}

void frmEnterName::cmdCancel_Click() { reject(); }

bool frmEnterName::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtName && !AnyText() && IsRefusedCharacter(event, Allowed)) {
    ui_.Beep();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vrk
