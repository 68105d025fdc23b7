// The Search and Replace window: the text to look for, its replacement, the first entry, and whether
// one field or every field is changed.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vrk {

struct ReplaceDialog;
class QtUi;

class frmReplace : public QDialog {
  Q_OBJECT

 public:
  frmReplace(ReplaceDialog& dialog, QtUi& ui, QWidget* parent = nullptr);

  QLineEdit* txtSearchString;
  QLineEdit* txtReplaceString;
  QLineEdit* txtStartRec;
  QRadioButton* optField;
  QRadioButton* optGlobal;
  QComboBox* cboFields;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  ReplaceDialog& dialog_;
  QtUi& ui_;
};

}  // namespace vrk
