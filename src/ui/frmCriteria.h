// The Criteria window: one line per field, 21 of them, for the alphabetical starting point, the
// ending point or the search criteria.
#pragma once

#include <QDialog>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vrk {

struct CriteriaDialog;

class frmCriteria : public QDialog {
  Q_OBJECT

 public:
  frmCriteria(CriteriaDialog& dialog, QWidget* parent = nullptr);

  std::vector<QLabel*> lblFieldName;  // field indexes 0 to 20
  std::vector<QLineEdit*> txtFieldData;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  CriteriaDialog& dialog_;
};

}  // namespace vrk
