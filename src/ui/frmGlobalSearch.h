// The Global Search window: one text, looked for in every field of every entry.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vrk {

struct GlobalSearchDialog;
class QtUi;

class frmGlobalSearch : public QDialog {
  Q_OBJECT

 public:
  frmGlobalSearch(GlobalSearchDialog& dialog, QtUi& ui, QWidget* parent = nullptr);

  QLineEdit* txtGlobalString;
  QCheckBox* chkCaseSense;
  QPushButton* cmdRptSetup;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  void chkCaseSense_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  GlobalSearchDialog& dialog_;
  QtUi& ui_;
};

}  // namespace vrk
