// The Enter Source/Destination window of Copy Entries: the catalog to copy from and the one to copy to.
#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace vrk {

struct SourceDestination;

class frmSrcDest : public QDialog {
  Q_OBJECT

 public:
  frmSrcDest(SourceDestination& choice, QWidget* parent = nullptr);

  QComboBox* cboCopyFrom;
  QComboBox* cboCopyTo;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  SourceDestination& choice_;
};

}  // namespace vrk
