// The Report Title window asked before a printed run: OK with a title, or No Title.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vrk {

class QtUi;
struct ReportTitle;

class frmRTitle : public QDialog {
  Q_OBJECT

 public:
  frmRTitle(ReportTitle& title, QtUi& ui, QWidget* parent = nullptr);

  QLabel* lblTitle;
  QLineEdit* txtRptTitle;
  QPushButton* cmdOK;
  QPushButton* cmdNoTitle;

  void cmdOK_Click();
  void cmdNoTitle_Click();

 private:
  ReportTitle& title_;
  QtUi& ui_;
};

}  // namespace vrk
