// The Report Maintenance window: the report formats of the program directory, the current format,
// and the buttons that make, copy, rename, delete, select and edit formats.
#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace vrk {

struct ReportMaintenance;

class frmRptMaintenance : public QDialog {
  Q_OBJECT

 public:
  frmRptMaintenance(ReportMaintenance& maintenance, QWidget* parent = nullptr);

  QListWidget* lstReport;
  QLabel* lblCurrentReport;
  QPushButton* cmdNew;
  QPushButton* cmdCopy;
  QPushButton* cmdRename;
  QPushButton* cmdDelete;
  QPushButton* cmdSelect;
  QPushButton* cmdDesign;
  QPushButton* cmdOK;

  void cmdNew_Click();
  void cmdCopy_Click();
  void cmdRename_Click();
  void cmdDelete_Click();
  void cmdSelect_Click();
  void cmdDesign_Click();
  void cmdOK_Click();

 private:
  // Runs a command on the selected format and shows the list and the buttons as it left them.
  void Run(void (*command)(ReportMaintenance&));
  void ShowList();

  ReportMaintenance& maintenance_;
  bool showing_ = false;  // the list is being filled: its selection is not the user's
};

}  // namespace vrk
