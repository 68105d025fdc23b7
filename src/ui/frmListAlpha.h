// The List Alphabetically window: the key field whose order the list follows, and its starting and
// ending points.
#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace vrk {

struct ListAlphaDialog;

class frmListAlpha : public QDialog {
  Q_OBJECT

 public:
  frmListAlpha(ListAlphaDialog& dialog, QWidget* parent = nullptr);

  QComboBox* cboKeyFields;
  QPushButton* cmdSetStart;
  QPushButton* cmdSetEnd;
  QPushButton* cmdRptSetup;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  void cmdSetStart_Click();
  void cmdSetEnd_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  ListAlphaDialog& dialog_;
};

}  // namespace vrk
