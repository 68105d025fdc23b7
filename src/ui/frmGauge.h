// The progress gauge of long operations: a bar with its scale, the operation's message and Cancel.
// It stays open beside the work it reports on; Cancel is noticed at the operation's next step.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vrk {

class Ui;

class frmGauge : public QDialog {
  Q_OBJECT

 public:
  explicit frmGauge(Ui& ui, QWidget* parent = nullptr);

  QLabel* lblMessage;
  QProgressBar* Gauge1;
  QPushButton* cmdCancel;

  void cmdCancel_Click();

 protected:
  // Escape and the close box ask for Cancel; the window closes when the operation ends.
  void reject() override;
  // Installed on the application while the gauge is open: Escape asks for Cancel wherever the focus is,
  // before the window shows and while the main window is disabled, unless a modal dialog is up.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Ui& ui_;
};

}  // namespace vrk
