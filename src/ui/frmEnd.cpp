#include "ui/frmEnd.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Ui.h"
#include "ui/Pictures.h"
#include "ui/Text.h"

namespace vrk {

frmEnd::frmEnd(QWidget* parent)
    : QDialog(parent), Picture1(new QLabel(this)), cmdOK(new QPushButton(tr("E&XIT"), this)) {
  setWindowTitle(ToQString(kAppTitle));
  Picture1->setPixmap(ClosingPicture());
  // The picture fills the window from edge to edge; the button stands on its own below it, on the right,
  // clear of everything the picture shows.
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(10, 8, 10, 10);
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Picture1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  cmdOK->setDefault(true);
  setModal(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmEnd::cmdOK_Click);
}

void frmEnd::cmdOK_Click() { accept(); }

}  // namespace vrk
