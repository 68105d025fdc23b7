#include "ui/frmNotCompatible.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace vrk {

frmNotCompatible::frmNotCompatible(CatalogNotCompatible&, QWidget* parent)
    : QDialog(parent), cmdOK(new QPushButton(tr("OK"), this)) {
  setWindowTitle(QStringLiteral(" CATALOG NOT COMPATIBLE"));
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(48, 48));
  auto* heading = new QLabel(QStringLiteral("Cannot Read This Catalog "), this);
  QFont bold = heading->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  heading->setFont(bold);
  auto* explanation = new QLabel(
      QStringLiteral("This version of VRK In Windows can not read catalogs created by some previous versions of "
                     "VRK.  DO NOT TRY TO USE THIS CATALOG--you may damage it."),
      this);
  explanation->setWordWrap(true);
  auto* text = new QVBoxLayout;
  text->addWidget(heading);
  text->addWidget(explanation);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addLayout(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  setMinimumWidth(420);
  cmdOK->setDefault(true);
  setModal(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmNotCompatible::cmdOK_Click);
}

void frmNotCompatible::cmdOK_Click() { accept(); }

}  // namespace vrk
