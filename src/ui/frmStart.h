// The splash window: the program's picture, closing after seven seconds or at a click or a key.
#pragma once

#include <QDialog>

class QLabel;

namespace vrk {

inline constexpr int kSplashMilliseconds = 7000;

class frmStart : public QDialog {
  Q_OBJECT

 public:
  explicit frmStart(QWidget* parent = nullptr);

  QLabel* Picture1;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vrk
