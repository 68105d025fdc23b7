// The Search window: the search criteria on one line per field, the order of the search (in entry
// order, or alphabetically by a key field whose line is shown in red), and the Case Sensitive setting.
#pragma once

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vrk {

struct SearchDialog;

class frmSearch : public QDialog {
  Q_OBJECT

 public:
  frmSearch(SearchDialog& dialog, QWidget* parent = nullptr);

  std::vector<QLabel*> lblFieldName;  // field indexes 0 to 19
  std::vector<QLineEdit*> txtFieldData;
  QComboBox* cboKeyFields;
  QRadioButton* optSequential;
  QRadioButton* optAlpha;
  QPushButton* cmdSetStart;
  QPushButton* cmdSetEnd;
  QCheckBox* chkCaseSense;
  QPushButton* cmdClear;
  QPushButton* cmdSrcSetup;
  QPushButton* cmdRptSetup;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  void cboKeyFields_Click();
  void optSequential_Click();
  void optAlpha_Click();
  void chkCaseSense_Click();
  void cmdClear_Click();
  void cmdSetStart_Click();
  void cmdSetEnd_Click();
  void cmdSrcSetup_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  // Every visible line black on light grey; with `highlight`, the key field's line in red.
  void ColourLines(bool highlight);

  SearchDialog& dialog_;
};

}  // namespace vrk
