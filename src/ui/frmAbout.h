// The About window: the program's version and this machine's system, processor and memory.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vrk {

class Ui;

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(Ui& ui, QWidget* parent = nullptr);

  QLabel* lblVersion;
  QLabel* lblProcessor;
  QLabel* lblMemory;
  QPushButton* cmdOK;

  void cmdOK_Click();
};

}  // namespace vrk
