#include "ui/PromptLayout.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyleFactory>
#include <QVBoxLayout>

#include "platform/Ui.h"

namespace vrk {

namespace {

// The application's style, but for the mask character.
class StarMask : public QProxyStyle {
 public:
  StarMask() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

}  // namespace

void MaskWithStars(QLineEdit* box) {
  auto* style = new StarMask;
  style->setParent(box);
  box->setStyle(style);
  box->setEchoMode(QLineEdit::Password);
}

void LayOutPrompt(QDialog& dialog, QLabel* question, QLineEdit* box, QPushButton* ok, QPushButton* cancel) {
  question->setTextFormat(Qt::PlainText);  // questions may carry user text: no tags, no mnemonics
  question->setWordWrap(true);
  question->setBuddy(box);
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(question);
  layout->addWidget(box);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  dialog.setMinimumWidth(360);
  dialog.setModal(true);
}

bool IsRefusedCharacter(const QEvent* event, const QString& allowed) {
  if (event->type() != QEvent::KeyPress) return false;
  const QString text = static_cast<const QKeyEvent*>(event)->text();
  if (text.isEmpty() || !text.at(0).isPrint()) return false;
  return !QRegularExpression(QStringLiteral("^[%1]+$").arg(allowed)).match(text).hasMatch();
}

namespace {

// Refuses the keys that would type anything but a digit into the box it watches.
class DigitsOnly : public QObject {
 public:
  DigitsOnly(QLineEdit* box, Ui& ui) : QObject(box), ui_(ui) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!IsRefusedCharacter(event, QStringLiteral("0-9"))) return QObject::eventFilter(watched, event);
    ui_.Beep();
    return true;
  }

 private:
  Ui& ui_;
};

}  // namespace

void AcceptDigitsOnly(QLineEdit* box, Ui& ui) {
  box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
  box->installEventFilter(new DigitsOnly(box, ui));
}

}  // namespace vrk
