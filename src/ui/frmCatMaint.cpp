#include "ui/frmCatMaint.h"

#include <QFile>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "admin/CatalogMaintenance.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"

namespace vrk {

frmCatMaint::frmCatMaint(CatalogMaintenance& maintenance, QWidget* parent)
    : QDialog(parent),
      lblCurCatalog(new QLabel(this)),
      lblDirectory(new QLabel(this)),
      dirList(new QTreeView(this)),
      lstDB(new QTreeWidget(this)),
      cmdSelect(new QPushButton(tr("&Select"), this)),
      cmdNew(new QPushButton(tr("&New"), this)),
      cmdChangeFormat(new QPushButton(tr("&Edit Catalog"), this)),
      cmdRename(new QPushButton(tr("&Rename"), this)),
      cmdDelete(new QPushButton(tr("&Delete"), this)),
      cmdBackup(new QPushButton(tr("Bac&kup"), this)),
      cmdReserveSpace(new QPushButton(tr("Reserve S&pace"), this)),
      cmdImportDBase(new QPushButton(tr("Import D&Base"), this)),
      cmdOK(new QPushButton(tr("&OK"), this)),
      maintenance_(maintenance),
      directories_(new QFileSystemModel(this)) {
  setWindowTitle(tr("Catalog Maintenance"));
  Bold(lblCurCatalog);
  lblCurCatalog->setTextFormat(Qt::PlainText);
  lblDirectory->setTextFormat(Qt::PlainText);
  lblDirectory->setWordWrap(true);

  directories_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  directories_->setRootPath(QStringLiteral("/"));
  dirList->setModel(directories_);
  for (int column = 1; column < directories_->columnCount(); ++column) dirList->hideColumn(column);
  dirList->setHeaderHidden(true);
  dirList->setMinimumSize(240, 320);
  const QModelIndex start = directories_->index(QFile::decodeName(maintenance.directory.c_str()));
  dirList->setCurrentIndex(start);
  dirList->scrollTo(start);
  dirList->expand(start);
  // The tree fills as the directories are read: the window's own stays in view.
  connect(directories_, &QFileSystemModel::directoryLoaded, this,
          [this] { dirList->scrollTo(dirList->currentIndex()); });
  // Connected once the tree shows the window's own directory: that is no choice of the user's.
  connect(dirList->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& index) { ChooseDirectory(directories_->filePath(index)); });

  lstDB->setColumnCount(2);
  lstDB->setHeaderLabels({tr("Catalogs"), tr("# Entries")});
  lstDB->setRootIsDecorated(false);
  lstDB->setUniformRowHeights(true);
  lstDB->setMinimumSize(260, 320);
  lstDB->header()->setStretchLastSection(false);
  lstDB->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  lstDB->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  lstDB->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  connect(lstDB, &QTreeWidget::currentItemChanged, this, [this] {
    if (!showing_) maintenance_.highlighted = lstDB->indexOfTopLevelItem(lstDB->currentItem());
  });
  connect(lstDB, &QTreeWidget::itemDoubleClicked, this, [this] { cmdSelect_Click(); });

  auto* current = new QHBoxLayout;
  current->addWidget(new QLabel(tr("Current Catalog:"), this));
  current->addWidget(lblCurCatalog, 1);
  auto* directoryColumn = new QVBoxLayout;
  auto* directoryHeading = new QLabel(tr("D&irectory"), this);
  directoryHeading->setBuddy(dirList);
  directoryColumn->addWidget(directoryHeading);
  directoryColumn->addWidget(dirList, 1);
  directoryColumn->addWidget(lblDirectory);
  auto* listColumn = new QVBoxLayout;
  auto* listHeading = new QLabel(tr("Ca&talogs"), this);
  listHeading->setBuddy(lstDB);
  listColumn->addWidget(listHeading);
  listColumn->addWidget(lstDB, 1);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button :
       {cmdSelect, cmdNew, cmdChangeFormat, cmdRename, cmdDelete, cmdBackup, cmdReserveSpace, cmdImportDBase}) {
    buttons->addWidget(button);
  }
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  cmdOK->setDefault(true);
  auto* columns = new QHBoxLayout;
  columns->addLayout(directoryColumn, 1);
  columns->addLayout(listColumn, 1);
  columns->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(current);
  layout->addLayout(columns, 1);
  setModal(true);

  connect(cmdSelect, &QPushButton::clicked, this, &frmCatMaint::cmdSelect_Click);
  connect(cmdNew, &QPushButton::clicked, this, &frmCatMaint::cmdNew_Click);
  connect(cmdChangeFormat, &QPushButton::clicked, this, &frmCatMaint::cmdChangeFormat_Click);
  connect(cmdRename, &QPushButton::clicked, this, &frmCatMaint::cmdRename_Click);
  connect(cmdDelete, &QPushButton::clicked, this, &frmCatMaint::cmdDelete_Click);
  connect(cmdBackup, &QPushButton::clicked, this, &frmCatMaint::cmdBackup_Click);
  connect(cmdReserveSpace, &QPushButton::clicked, this, &frmCatMaint::cmdReserveSpace_Click);
  connect(cmdImportDBase, &QPushButton::clicked, this, &frmCatMaint::cmdImportDBase_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmCatMaint::cmdOK_Click);
  ShowList();
  lstDB->setFocus();
}

void frmCatMaint::ShowList() {
  showing_ = true;
  lstDB->clear();
  for (const CatalogLine& line : maintenance_.lines) {
    auto* item = new QTreeWidgetItem(lstDB, {ToQString(line.name), QString::number(line.entries)});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  }
  if (maintenance_.highlighted >= 0) lstDB->setCurrentItem(lstDB->topLevelItem(maintenance_.highlighted));
  showing_ = false;
  lblCurCatalog->setText(ToQString(maintenance_.currentName));
  lblDirectory->setText(QFile::decodeName(maintenance_.directory.c_str()));
  const bool lines = LineCommandsEnabled(maintenance_);
  const bool changing = ChangingCommandsEnabled(maintenance_);
  cmdSelect->setEnabled(lines);
  cmdBackup->setEnabled(lines);
  for (QPushButton* button : {cmdChangeFormat, cmdRename, cmdDelete, cmdReserveSpace})
    button->setEnabled(lines && changing);
  cmdNew->setEnabled(changing);
  cmdImportDBase->setEnabled(changing);
}

void frmCatMaint::ChooseDirectory(const QString& directory) {
  ChangeMaintenanceDirectory(maintenance_, QFile::encodeName(directory).toStdString());
  ShowList();
}

void frmCatMaint::Run(void (*command)(CatalogMaintenance&)) {
  command(maintenance_);
  ShowList();
  lstDB->setFocus();
}

void frmCatMaint::cmdSelect_Click() { Run(SelectCatalog); }
void frmCatMaint::cmdNew_Click() { Run(NewCatalog); }
void frmCatMaint::cmdChangeFormat_Click() { Run(EditCatalog); }
void frmCatMaint::cmdRename_Click() { Run(RenameCatalog); }
void frmCatMaint::cmdDelete_Click() { Run(DeleteCatalog); }
void frmCatMaint::cmdBackup_Click() { Run(BackupCatalog); }
void frmCatMaint::cmdReserveSpace_Click() { Run(ReserveSpace); }
void frmCatMaint::cmdImportDBase_Click() { Run(ImportDbase); }
void frmCatMaint::cmdOK_Click() { accept(); }

}  // namespace vrk
