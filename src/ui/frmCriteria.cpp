#include "ui/frmCriteria.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "shell/SearchCommands.h"
#include "ui/FieldLines.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {

frmCriteria::frmCriteria(CriteriaDialog& dialog, QWidget* parent)
    : QDialog(parent),
      cmdOK(new QPushButton(tr("&OK"), this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      dialog_(dialog) {
  setWindowTitle(ToWindowTitle(dialog.caption));
  auto* lines = new QGridLayout;
  lines->setVerticalSpacing(3);
  AddFieldLines(this, lines, 0, dialog.lines, lblFieldName, txtFieldData);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ScrollingRows(lines, this), 1);
  layout->addSpacing(6);
  layout->addLayout(ButtonRow({cmdOK, cmdCancel}));
  setModal(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmCriteria::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmCriteria::cmdCancel_Click);
}

void frmCriteria::cmdOK_Click() {
  for (std::size_t i = 0; i < txtFieldData.size(); ++i) dialog_.lines[i].text = FromQString(txtFieldData[i]->text());
  accept();
}

void frmCriteria::cmdCancel_Click() { reject(); }

}  // namespace vrk
