// The List Range window: the first and last entry numbers to list.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vrk {

struct ListRangeDialog;
class QtUi;

class frmListRange : public QDialog {
  Q_OBJECT

 public:
  frmListRange(ListRangeDialog& dialog, QtUi& ui, QWidget* parent = nullptr);

  QLineEdit* txtStartRec;
  QLineEdit* txtEndRec;
  QPushButton* cmdRptSetup;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  ListRangeDialog& dialog_;
  QtUi& ui_;
};

}  // namespace vrk
