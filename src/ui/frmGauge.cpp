#include "ui/frmGauge.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Ui.h"
#include "ui/Text.h"

namespace vrk {

frmGauge::frmGauge(Ui& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      lblMessage(new QLabel(this)),
      Gauge1(new QProgressBar(this)),
      cmdCancel(new QPushButton(tr("&Cancel"), this)),
      ui_(ui) {
  setWindowTitle(ToQString(kAppTitle));
  Gauge1->setTextVisible(false);
  Gauge1->setMinimumWidth(320);
  auto* scale = new QHBoxLayout;
  scale->addWidget(new QLabel(QStringLiteral("0%"), this));
  scale->addStretch();
  scale->addWidget(new QLabel(QStringLiteral("50%"), this));
  scale->addStretch();
  scale->addWidget(new QLabel(QStringLiteral("100%"), this));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdCancel);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblMessage);
  layout->addWidget(Gauge1);
  layout->addLayout(scale);
  layout->addLayout(buttons);
  connect(cmdCancel, &QPushButton::clicked, this, &frmGauge::cmdCancel_Click);
}

void frmGauge::cmdCancel_Click() { ui_.CancelGauge(); }

void frmGauge::reject() {
  if (cmdCancel->isEnabled()) cmdCancel_Click();
}

}  // namespace vrk
