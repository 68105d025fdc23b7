#include "ui/frmPicture.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "shell/PictureSound.h"
#include "ui/Pictures.h"
#include "ui/QtUi.h"

namespace vrk {

frmPicture::frmPicture(const QImage& picture, QWidget* parent) : QDialog(parent), Image1(new QLabel(this)) {
  setWindowTitle(tr("Picture"));
  Image1->setPixmap(QPixmap::fromImage(picture));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Image1);
  // The picture's own pixels, whatever the screen's ratio.
  setFixedSize(picture.size() / picture.devicePixelRatio());
  setModal(true);
}

bool frmPicture::Open(PictureWindow& record, QtUi& ui, QWidget* parent) {
  const QImage picture = LoadPicture(record.path);
  if (picture.isNull()) {
    record.loadFailed = true;
    return false;
  }
  frmPicture window(picture, parent);
  return ui.RunModal(window) == QDialog::Accepted;
}

void frmPicture::mousePressEvent(QMouseEvent*) { accept(); }
void frmPicture::keyPressEvent(QKeyEvent*) { accept(); }

}  // namespace vrk
