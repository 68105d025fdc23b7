#include "ui/frmStart.h"

#include <QLabel>
#include <QTimer>

#include "ui/Pictures.h"

namespace vrk {

frmStart::frmStart(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), Picture1(new QLabel(this)) {
  Picture1->setPixmap(SplashPicture());
  Picture1->adjustSize();
  setFixedSize(Picture1->size());
  setModal(true);
  QTimer::singleShot(kSplashMilliseconds, this, &QDialog::accept);
}

// A click on the window or its picture closes it (the picture lets the click through).
void frmStart::mousePressEvent(QMouseEvent*) { accept(); }

void frmStart::keyPressEvent(QKeyEvent*) { accept(); }

}  // namespace vrk
