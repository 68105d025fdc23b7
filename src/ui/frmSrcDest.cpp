#include "ui/frmSrcDest.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/CopyEntries.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {

frmSrcDest::frmSrcDest(SourceDestination& choice, QWidget* parent)
    : QDialog(parent),
      cboCopyFrom(new QComboBox(this)),
      cboCopyTo(new QComboBox(this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      choice_(choice) {
  setWindowTitle(tr("Enter Source/Destination"));
  for (const std::string& name : choice.names) {
    cboCopyFrom->addItem(ToQString(name));
    cboCopyTo->addItem(ToQString(name));
  }
  cmdOK->setEnabled(!choice.names.empty());
  auto* form = new QFormLayout;
  form->addRow(tr("Copy &From"), cboCopyFrom);
  form->addRow(tr("Copy &To"), cboCopyTo);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addSpacing(6);
  layout->addLayout(ButtonRow({cmdOK, cmdCancel}));
  setMinimumWidth(320);
  setModal(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmSrcDest::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmSrcDest::cmdCancel_Click);
}

void frmSrcDest::cmdOK_Click() {
  choice_.source = FromQString(cboCopyFrom->currentText());
  choice_.destination = FromQString(cboCopyTo->currentText());
  accept();
}

void frmSrcDest::cmdCancel_Click() { reject(); }

}  // namespace vrk
