#include "ui/frmListAlpha.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/SearchCommands.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {

frmListAlpha::frmListAlpha(ListAlphaDialog& dialog, QWidget* parent)
    : QDialog(parent),
      cboKeyFields(new QComboBox(this)),
      cmdSetStart(new QPushButton(tr("Set &Start"), this)),
      cmdSetEnd(new QPushButton(tr("Set &End"), this)),
      cmdRptSetup(new QPushButton(tr("&Report Setup"), this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      dialog_(dialog) {
  setWindowTitle(tr("List Alphabetically"));
  for (const KeyFieldItem& item : dialog.keyFields.items) cboKeyFields->addItem(ToCaption(item.name), item.field);
  cboKeyFields->setCurrentIndex(dialog.keyFields.current);
  auto* form = new QFormLayout;
  form->addRow(tr("&Key Field:"), cboKeyFields);
  auto* points = new QHBoxLayout;
  points->addWidget(cmdSetStart);
  points->addWidget(cmdSetEnd);
  points->addWidget(cmdRptSetup);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(points);
  layout->addSpacing(6);
  layout->addLayout(ButtonRow({cmdOK, cmdCancel}));
  setMinimumWidth(340);
  setModal(true);
  connect(cmdSetStart, &QPushButton::clicked, this, &frmListAlpha::cmdSetStart_Click);
  connect(cmdSetEnd, &QPushButton::clicked, this, &frmListAlpha::cmdSetEnd_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmListAlpha::cmdOK_Click);
  connect(cmdRptSetup, &QPushButton::clicked, this, [this] { dialog_.setup.EditReportSetup(); });
  connect(cmdCancel, &QPushButton::clicked, this, &frmListAlpha::cmdCancel_Click);
}

void frmListAlpha::cmdSetStart_Click() { dialog_.setup.EditCriteria(CriteriaMode::kStartingPoint); }
void frmListAlpha::cmdSetEnd_Click() { dialog_.setup.EditCriteria(CriteriaMode::kEndingPoint); }

void frmListAlpha::cmdOK_Click() {
  dialog_.keyFields.current = cboKeyFields->currentIndex();
  accept();
}

void frmListAlpha::cmdCancel_Click() { reject(); }

}  // namespace vrk
