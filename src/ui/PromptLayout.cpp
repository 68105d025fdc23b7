#include "ui/PromptLayout.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace vrk {

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

}  // namespace vrk
