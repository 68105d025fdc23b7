#include "ui/EntryBox.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleHints>
#include <QtMath>

#include "platform/CodePage.h"
#include "ui/Text.h"

namespace vrk {
namespace {

// QLineEdit keeps 2 pixels between its contents rectangle and its text on either side, and scrolls
// once the text is not at least one pixel narrower than the room between them (Qt 5 and 6).
constexpr int kInnerMargin = 2;
constexpr int kScrollSlack = 1;
// QLineEdit::cursorRect() reaches 5 pixels left of the caret's position (Qt 5 and 6).
constexpr int kCursorRectLead = 5;

// The line edit draws its own caret as wide as its style says. It asks without naming the widget
// (pixelMetric(PM_TextCursorWidth, option) with a null widget), so a style cannot tell an entry box from
// any other line edit by the widget; this style serves one entry box only and hides that caret, since
// the box paints its own.
class NoLineEditCaret : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_TextCursorWidth) return 0;
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

// Whether the entry file keeps every character of the text as it is.
bool Kept(const QString& text) { return MeasureTextLoss(text.toStdString(), true).changed == 0; }

}  // namespace

EntryBox::EntryBox(QWidget* parent) : QLineEdit(parent) {
  auto* style = new NoLineEditCaret;
  style->setParent(this);
  setStyle(style);
  setFrame(false);
  KeepCaretRoom();
  connect(this, &QLineEdit::textEdited, this, &EntryBox::KeepToCodePage);
  connect(this, &QLineEdit::textChanged, this, [this] { SelectAtCaret(); });
  connect(this, &QLineEdit::cursorPositionChanged, this, [this] {
    HideBlockSelection();
    RestartBlink();
  });
  connect(this, &QLineEdit::selectionChanged, this, [this] {
    HideBlockSelection();
    RestartBlink();
  });
}

void EntryBox::SetOvertype(bool overtype) {
  overtype_ = overtype;
  if (overtype_) {
    SelectAtCaret();
  } else {
    const int caret = Caret();
    deselect();
    setCursorPosition(caret);
  }
  HideBlockSelection();
  RestartBlink();
}

int EntryBox::Caret() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

void EntryBox::SelectAtCaret() {
  if (!overtype_ || hasSelectedText()) return;
  const int caret = cursorPosition();
  // Selected from the right, so that the caret stays on the left of the selected character.
  if (caret < text().size()) setSelection(caret + 1, -1);
}

void EntryBox::KeepToCodePage(const QString& text) {
  if (Kept(text)) return;
  if (isUndoAvailable()) {
    undo();
  } else {
    const QString kept = ToQString(FromQString(text));
    const int caret = cursorPosition();
    setText(kept);
    setCursorPosition(std::min(caret, static_cast<int>(kept.size())));
  }
  emit textRefused();
}

int EntryBox::BarWidth() const {
  const int lineHeight = QFontMetrics(font()).height();
  return std::max(2, qRound(lineHeight / 4.0));
}

int EntryBox::BlockWidth() const { return qCeil(QFontMetricsF(font()).horizontalAdvance(QLatin1Char('W'))); }

// The caret after the last character stands in a margin of its own, so that it shows whole even where
// the text fills the box or scrolls.
void EntryBox::KeepCaretRoom() { setTextMargins(0, 0, std::max(BarWidth(), BlockWidth()), 0); }

int EntryBox::TextOverhead() const {
  const QMargins contents = contentsMargins();
  const QMargins text = textMargins();
  return contents.left() + contents.right() + text.left() + text.right() + 2 * kInnerMargin + kScrollSlack;
}

QRect EntryBox::CaretRect() const {
  if (!hasFocus() || isReadOnly()) return {};
  const QRect around = cursorRect();
  const int x = around.left() + kCursorRectLead;
  const int height = around.height() - 1;  // the line's height; the rectangle has a pixel more
  if (!overtype_) return {x, around.top(), BarWidth(), height};
  // The block covers the character at the caret, as far as the next character begins.
  const QString shown = displayText();
  const int at = cursorPosition();
  int width = BlockWidth();
  if (at < shown.size()) {
    const QFontMetricsF metrics(font());
    width = qRound(metrics.horizontalAdvance(shown.left(at + 1))) - qRound(metrics.horizontalAdvance(shown.left(at)));
  }
  return {x, around.top(), width, height};
}

bool EntryBox::CaretShown() const { return caretOn_ && !CaretRect().isEmpty(); }

void EntryBox::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  if (!CaretShown()) return;
  const QRect caret = CaretRect();
  QPainter painter(this);
  painter.fillRect(caret, palette().color(QPalette::Text));
  // The character under the caret shows through it in the box's background colour.
  const QString shown = displayText();
  const int at = cursorPosition();
  if (at >= shown.size()) return;
  const QFontMetricsF metrics(font());
  const qreal lineStart = caret.left() - qRound(metrics.horizontalAdvance(shown.left(at)));
  painter.setClipRect(caret);
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::Base));
  painter.drawText(QPointF(lineStart + metrics.horizontalAdvance(shown.left(at)), caret.top() + metrics.ascent()),
                   shown.mid(at, 1));
}

void EntryBox::RestartBlink() {
  caretOn_ = true;
  const int flash = QGuiApplication::styleHints()->cursorFlashTime();
  if (hasFocus() && flash >= 2) {
    blink_.start(flash / 2, this);
  } else {
    blink_.stop();
  }
  update();
}

void EntryBox::timerEvent(QTimerEvent* event) {
  if (event->timerId() != blink_.timerId()) {
    QLineEdit::timerEvent(event);
    return;
  }
  caretOn_ = !caretOn_;
  update(CaretRect());
}

// The one-character overtype selection is drawn as the block caret, not as a selection: its highlight
// takes the box's own colours. Any other selection is highlighted as usual.
void EntryBox::HideBlockSelection() {
  const bool block = overtype_ && selectionLength() == 1 && selectionStart() == cursorPosition();
  if (block == selectionHidden_) return;
  selectionHidden_ = block;
  if (!block) {
    setPalette(QPalette());  // inherits every colour again
    return;
  }
  const QPalette inherited = palette();
  QPalette plain;  // sets only the two roles; the rest stays inherited
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    plain.setBrush(group, QPalette::Highlight, inherited.brush(group, QPalette::Base));
    plain.setBrush(group, QPalette::HighlightedText, inherited.brush(group, QPalette::Text));
  }
  setPalette(plain);
}

void EntryBox::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange) KeepCaretRoom();
}

void EntryBox::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  if (!typed.isEmpty() && typed.at(0).isPrint() && !Kept(typed)) {
    event->accept();
    emit keyRefused();
    return;
  }
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
  RestartBlink();
}

void EntryBox::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  blink_.stop();
  update();
}

}  // namespace vrk
