// The Catalog Maintenance window: a directory tree, the catalogs of the chosen directory with their
// entry counts, and the buttons of the catalog commands.
#pragma once

#include <QDialog>

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;
class QTreeWidget;

namespace vrk {

struct CatalogMaintenance;

class frmCatMaint : public QDialog {
  Q_OBJECT

 public:
  frmCatMaint(CatalogMaintenance& maintenance, QWidget* parent = nullptr);

  QLabel* lblCurCatalog;
  QLabel* lblDirectory;
  QTreeView* dirList;
  QTreeWidget* lstDB;
  QPushButton* cmdSelect;
  QPushButton* cmdNew;
  QPushButton* cmdChangeFormat;
  QPushButton* cmdRename;
  QPushButton* cmdDelete;
  QPushButton* cmdBackup;
  QPushButton* cmdReserveSpace;
  QPushButton* cmdImportDBase;
  QPushButton* cmdOK;

  // Makes `directory` the window's directory, as choosing it in the tree does.
  void ChooseDirectory(const QString& directory);

  void cmdSelect_Click();
  void cmdNew_Click();
  void cmdChangeFormat_Click();
  void cmdRename_Click();
  void cmdDelete_Click();
  void cmdBackup_Click();
  void cmdReserveSpace_Click();
  void cmdImportDBase_Click();
  void cmdOK_Click();

 private:
  // Runs a command on the highlighted catalog and shows the list and the buttons as it left them.
  void Run(void (*command)(CatalogMaintenance&));
  void ShowList();

  CatalogMaintenance& maintenance_;
  QFileSystemModel* directories_;
  bool showing_ = false;  // the list is being filled: its highlight is not the user's
};

}  // namespace vrk
