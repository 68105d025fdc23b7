// The number prompt: asks for a whole number; only digits can be typed and a blank answer is refused.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vrk {

class Ui;

class frmEnterNumber : public QDialog {
  Q_OBJECT

 public:
  explicit frmEnterNumber(Ui& ui, QWidget* parent = nullptr);

  QLabel* lblUserAction;
  QLineEdit* txtNumber;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  Ui& ui_;
};

}  // namespace vrk
