#include "ui/frmRTitle.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "report/PrintedOutput.h"
#include "ui/PromptLayout.h"
#include "ui/QtUi.h"
#include "ui/Text.h"

namespace vrk {
namespace {

constexpr int kLongestTitle = 130;

}  // namespace

frmRTitle::frmRTitle(ReportTitle& title, QtUi& ui, QWidget* parent)
    : QDialog(parent),
      lblTitle(new QLabel(tr("Enter Report Title:"), this)),
      txtRptTitle(new QLineEdit(this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdNoTitle(new QPushButton(tr("&No Title"), this)),
      title_(title),
      ui_(ui) {
  setWindowTitle(tr("Report Title"));
  LayOutPrompt(*this, lblTitle, txtRptTitle, cmdOK, cmdNoTitle);
  setMinimumWidth(480);
  txtRptTitle->setMaxLength(kLongestTitle);
  txtRptTitle->setText(ToQString(title.title));
  txtRptTitle->setFocus();
  connect(cmdOK, &QPushButton::clicked, this, &frmRTitle::cmdOK_Click);
  connect(cmdNoTitle, &QPushButton::clicked, this, &frmRTitle::cmdNoTitle_Click);
}

void frmRTitle::cmdOK_Click() {
  if (txtRptTitle->text().isEmpty()) {
    ui_.Message("Please enter a title. Press CANCEL for no title.");
    txtRptTitle->setFocus();
    return;
  }
  title_.title = FromQString(txtRptTitle->text());
  accept();
}

void frmRTitle::cmdNoTitle_Click() { reject(); }

}  // namespace vrk
