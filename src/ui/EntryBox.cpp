#include "ui/EntryBox.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QProxyStyle>

#include "ui/Text.h"

namespace vrk {
namespace {

constexpr int kInsertCaretWidth = 2;

// A line edit takes its caret width from its style; this style asks the entry box.
class CaretStyle : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (const auto* box = qobject_cast<const EntryBox*>(widget); box != nullptr && metric == PM_TextCursorWidth) {
      return box->CaretWidth();
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

bool MovesCaret(int key) {
  switch (key) {
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: return true;
    default: return false;
  }
}

}  // namespace

EntryBox::EntryBox(QWidget* parent) : QLineEdit(parent), caretWidth_(kInsertCaretWidth) {
  auto* style = new CaretStyle;
  style->setParent(this);
  setStyle(style);
  setFrame(false);
  connect(this, &QLineEdit::textEdited, this, &EntryBox::KeepToCodePage);
  connect(this, &QLineEdit::textChanged, this, [this] { SelectAtCaret(); });
}

void EntryBox::SetOvertype(bool overtype) {
  overtype_ = overtype;
  if (overtype_) {
    SelectAtCaret();
  } else {
    const int caret = Caret();
    deselect();
    setCursorPosition(caret);
    SetCaretWidth(kInsertCaretWidth);
  }
}

void EntryBox::SetCaretWidth(int width) {
  if (width == caretWidth_) return;
  caretWidth_ = width;
  QEvent change(QEvent::StyleChange);  // makes the line edit ask its style again
  QCoreApplication::sendEvent(this, &change);
}

int EntryBox::Caret() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

void EntryBox::SelectAtCaret() {
  if (!overtype_) return;
  if (!hasSelectedText()) {
    const int caret = cursorPosition();
    // Selected from the right, so that the caret stays on the left of the selected character.
    if (caret < text().size()) setSelection(caret + 1, -1);
  }
  // The selected character is the block caret; past the end of the text the caret itself is a block,
  // unless the box is full and nothing more can be typed.
  if (hasSelectedText()) {
    SetCaretWidth(0);
  } else {
    SetCaretWidth(text().size() < maxLength() ? fontMetrics().horizontalAdvance(QLatin1Char('W')) : kInsertCaretWidth);
  }
}

void EntryBox::KeepToCodePage(const QString& text) {
  const QString kept = ToQString(FromQString(text));
  if (kept == text) return;
  const int caret = cursorPosition();
  setText(kept);
  setCursorPosition(std::min(caret, static_cast<int>(kept.size())));
}

void EntryBox::keyPressEvent(QKeyEvent* event) {
  if (!overtype_) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  // Moving the caret, and Backspace, start from the caret rather than from the selected character,
  // so Backspace deletes the character before the caret as it does in insert mode.
  const bool extends = event->modifiers().testFlag(Qt::ShiftModifier);
  if ((MovesCaret(event->key()) && !extends) || event->key() == Qt::Key_Backspace) {
    const int caret = Caret();
    deselect();
    setCursorPosition(caret);
  }
  QLineEdit::keyPressEvent(event);
  SelectAtCaret();
}

void EntryBox::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  SelectAtCaret();
}

void EntryBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (overtype_ && selectedText() == text()) {
    // Tabbing in selects the whole text; in overtype mode the caret starts on the first character.
    deselect();
    setCursorPosition(0);
    SelectAtCaret();
  }
}

}  // namespace vrk
