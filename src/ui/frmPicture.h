// The picture window: the entry's picture at its own size. A click on it or any key closes it.
#pragma once

#include <QDialog>
#include <QImage>

class QLabel;

namespace vrk {

struct PictureWindow;
class QtUi;

class frmPicture : public QDialog {
  Q_OBJECT

 public:
  frmPicture(const QImage& picture, QWidget* parent = nullptr);

  // Loads the record's picture and shows it; false, with loadFailed set, when the file is no picture.
  static bool Open(PictureWindow& record, QtUi& ui, QWidget* parent);

  QLabel* Image1;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vrk
