#include "ui/frmAbout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/LongOperation.h"
#include "platform/SystemInfo.h"
#include "ui/Pictures.h"
#include "ui/Text.h"

namespace vrk {

frmAbout::frmAbout(Ui& ui, QWidget* parent)
    : QDialog(parent),
      lblVersion(new QLabel(this)),
      lblProcessor(new QLabel(this)),
      lblMemory(new QLabel(this)),
      cmdOK(new QPushButton(tr("OK"), this)) {
  const LongOperation busy(ui, {.busy = true});
  setWindowTitle(QStringLiteral("About VRK"));
  auto* picture = new QLabel(this);
  picture->setPixmap(Emblem(96));
  auto* heading = new QLabel(QStringLiteral("VRK  Windows '95 Version 4.12"), this);
  QFont bold = heading->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  heading->setFont(bold);

  const SystemInfo info = ReadSystemInfo();
  lblVersion->setText(ToQString(info.version));
  lblProcessor->setText(ToQString(info.processor));
  lblMemory->setText(ToQString(info.memory));
  auto* facts = new QGridLayout;
  facts->addWidget(lblVersion, 0, 0, 1, 2);
  facts->addWidget(new QLabel(QStringLiteral("Processor:"), this), 1, 0);
  facts->addWidget(lblProcessor, 1, 1);
  facts->addWidget(new QLabel(QStringLiteral("Memory:"), this), 2, 0);
  facts->addWidget(lblMemory, 2, 1);
  facts->setColumnStretch(1, 1);

  auto* text = new QVBoxLayout;
  text->addWidget(heading);
  text->addSpacing(8);
  text->addLayout(facts);
  text->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(picture, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  cmdOK->setDefault(true);
  setModal(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::cmdOK_Click() { accept(); }

}  // namespace vrk
