// The Edit Formula window: a computed field's two operand fields and its operator.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace vrk {

struct EditFormula;

class frmEditFormula : public QDialog {
  Q_OBJECT

 public:
  frmEditFormula(EditFormula& editor, QWidget* parent = nullptr);

  QLabel* lblFieldName;
  QComboBox* cboField1;
  QComboBox* cboOperator;
  QComboBox* cboField2;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  EditFormula& editor_;
};

}  // namespace vrk
