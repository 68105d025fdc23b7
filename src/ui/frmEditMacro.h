// The Edit Macro window: the 29 keys, and the text the chosen key types.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vrk {

struct EditMacro;

class frmEditMacro : public QDialog {
  Q_OBJECT

 public:
  frmEditMacro(EditMacro& edit, QWidget* parent = nullptr);

  QComboBox* cboKeys;
  QLineEdit* txtMacroText;
  QPushButton* cmdSave;
  QPushButton* cmdOK;

  void cboKeys_Click();
  void cmdSave_Click();
  void cmdOK_Click();

 private:
  EditMacro& edit_;
};

}  // namespace vrk
