#include "ui/frmRptMaintenance.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "report/ReportMaintenance.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {

frmRptMaintenance::frmRptMaintenance(ReportMaintenance& maintenance, QWidget* parent)
    : QDialog(parent),
      lstReport(new QListWidget(this)),
      lblCurrentReport(new QLabel(this)),
      cmdNew(new QPushButton(tr("&New"), this)),
      cmdCopy(new QPushButton(tr("&Copy"), this)),
      cmdRename(new QPushButton(tr("&Rename"), this)),
      cmdDelete(new QPushButton(tr("&Delete"), this)),
      cmdSelect(new QPushButton(tr("&Select"), this)),
      cmdDesign(new QPushButton(tr("&Edit Report"), this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      maintenance_(maintenance) {
  setWindowTitle(tr("Report Maintenance"));
  Bold(lblCurrentReport)->setTextFormat(Qt::PlainText);
  lstReport->setMinimumSize(fontMetrics().horizontalAdvance(QLatin1Char('W')) * 12, 240);
  connect(lstReport, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!showing_) maintenance_.selected = row;
    ShowList();
  });
  connect(lstReport, &QListWidget::itemDoubleClicked, this, [this] { cmdSelect_Click(); });

  auto* current = new QHBoxLayout;
  current->addWidget(new QLabel(tr("Current Report:"), this));
  current->addWidget(lblCurrentReport, 1);
  auto* listColumn = new QVBoxLayout;
  auto* heading = new QLabel(tr("Report &Formats"), this);
  heading->setBuddy(lstReport);
  listColumn->addWidget(heading);
  listColumn->addWidget(lstReport, 1);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {cmdNew, cmdCopy, cmdRename, cmdDelete, cmdSelect, cmdDesign}) buttons->addWidget(button);
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  cmdOK->setDefault(true);
  auto* columns = new QHBoxLayout;
  columns->addLayout(listColumn, 1);
  columns->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(current);
  layout->addLayout(columns, 1);

  connect(cmdNew, &QPushButton::clicked, this, &frmRptMaintenance::cmdNew_Click);
  connect(cmdCopy, &QPushButton::clicked, this, &frmRptMaintenance::cmdCopy_Click);
  connect(cmdRename, &QPushButton::clicked, this, &frmRptMaintenance::cmdRename_Click);
  connect(cmdDelete, &QPushButton::clicked, this, &frmRptMaintenance::cmdDelete_Click);
  connect(cmdSelect, &QPushButton::clicked, this, &frmRptMaintenance::cmdSelect_Click);
  connect(cmdDesign, &QPushButton::clicked, this, &frmRptMaintenance::cmdDesign_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmRptMaintenance::cmdOK_Click);
  ShowList();
  lstReport->setFocus();
}

void frmRptMaintenance::ShowList() {
  if (showing_) return;
  showing_ = true;
  if (lstReport->count() != static_cast<int>(maintenance_.names.size()) || [&] {
        for (int i = 0; i < lstReport->count(); ++i) {
          if (FromQString(lstReport->item(i)->text()) != maintenance_.names[static_cast<std::size_t>(i)]) return true;
        }
        return false;
      }()) {
    lstReport->clear();
    for (const std::string& name : maintenance_.names) lstReport->addItem(ToQString(name));
  }
  lstReport->setCurrentRow(maintenance_.selected);
  showing_ = false;
  lblCurrentReport->setText(ToQString(maintenance_.store.reportFormatName));
  const bool listed = ListCommandsEnabled(maintenance_);
  const bool changing = ChangingCommandsEnabled(maintenance_);
  cmdSelect->setEnabled(listed);
  for (QPushButton* button : {cmdCopy, cmdRename, cmdDelete, cmdDesign}) button->setEnabled(listed && changing);
  cmdNew->setEnabled(changing);
}

void frmRptMaintenance::Run(void (*command)(ReportMaintenance&)) {
  command(maintenance_);
  ShowList();
  lstReport->setFocus();
}

void frmRptMaintenance::cmdNew_Click() { Run(NewReport); }
void frmRptMaintenance::cmdCopy_Click() { Run(CopyReport); }
void frmRptMaintenance::cmdRename_Click() { Run(RenameReport); }
void frmRptMaintenance::cmdDelete_Click() { Run(DeleteReport); }
void frmRptMaintenance::cmdSelect_Click() { Run(SelectReport); }
void frmRptMaintenance::cmdDesign_Click() { Run(EditReport); }
void frmRptMaintenance::cmdOK_Click() { accept(); }

}  // namespace vrk
