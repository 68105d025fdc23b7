#include "ui/frmGauge.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
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
  lblMessage->setTextFormat(Qt::PlainText);  // the message names a field as the user typed it
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

bool frmGauge::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && cmdCancel->isEnabled()) {
    const auto* key = static_cast<const QKeyEvent*>(event);
    const QWidget* modal = QApplication::activeModalWidget();
    if (key->key() == Qt::Key_Escape && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        (modal == nullptr || modal == this)) {
      cmdCancel_Click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vrk
