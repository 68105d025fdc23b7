#include "ui/frmEnd.h"

#include <QLabel>
#include <QPushButton>

#include "platform/Ui.h"
#include "ui/Pictures.h"
#include "ui/Text.h"

namespace vrk {

frmEnd::frmEnd(QWidget* parent)
    : QDialog(parent), Picture1(new QLabel(this)), cmdOK(new QPushButton(tr("E&XIT"), this)) {
  setWindowTitle(ToQString(kAppTitle));
  Picture1->setPixmap(ClosingPicture());
  Picture1->adjustSize();
  setFixedSize(Picture1->size());
  // The button keeps its traditional place on the picture, measured from the right and bottom edges.
  cmdOK->adjustSize();
  const int w = cmdOK->width();
  const int h = cmdOK->height();
  cmdOK->move(width() - w - static_cast<int>(w / 0.37), height() - 8 * h);
  cmdOK->setDefault(true);
  setModal(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmEnd::cmdOK_Click);
}

void frmEnd::cmdOK_Click() { accept(); }

}  // namespace vrk
