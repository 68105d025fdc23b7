// The closing window, shown when the program ends with a catalog open; E&XIT ends the program.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vrk {

class frmEnd : public QDialog {
  Q_OBJECT

 public:
  explicit frmEnd(QWidget* parent = nullptr);

  QLabel* Picture1;
  QPushButton* cmdOK;

  void cmdOK_Click();
};

}  // namespace vrk
