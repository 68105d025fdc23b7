// An entry box of the main window. In overtype mode exactly one character stays selected at the
// caret, so that the next typed character replaces it. A character the catalog's entry file cannot
// hold is not taken: its key is refused (keyRefused), and an edit that would bring one in, a paste, is
// undone (textRefused).
//
// The box paints its own caret, as the program always did (CreateCaret): a solid bar in insert mode and
// a block one character wide in overtype mode, at the end of the text and in an empty box too; the
// character under the caret shows through it. The one-character overtype selection is not highlighted:
// the block caret stands on it. The line edit's own one-pixel caret is not drawn.
#pragma once

#include <QBasicTimer>
#include <QLineEdit>

namespace vrk {

class EntryBox : public QLineEdit {
  Q_OBJECT

 public:
  explicit EntryBox(QWidget* parent = nullptr);

  void SetOvertype(bool overtype);
  bool Overtype() const { return overtype_; }

  // The caret as it is painted, in the box's coordinates; empty while the box has no caret (it has not
  // the focus, or it is read-only). While the caret blinks it stays where it is, shown or not.
  QRect CaretRect() const;
  // True while the caret is painted: the box has a caret and the caret is in the shown half of its blink.
  bool CaretShown() const;
  // The pixels the box needs beyond the width of its text so that a text of any length up to the box's
  // width shows whole, without scrolling, with the caret after its last character: the line edit's own
  // margins and the room kept on the right for the caret.
  int TextOverhead() const;

 signals:
  void keyRefused();
  void textRefused();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // The caret as the user sees it: the start of the one-character selection in overtype mode.
  int Caret() const;
  void SelectAtCaret();
  void KeepToCodePage(const QString& text);
  // The caret's sizes for the box's font: the bar is as high as a line of text and a quarter of that
  // wide (4 by 16 pixels for a 16-pixel line); the block at the end of the text is as wide as a 'W', the
  // character width the entry screen counts with, and on a character as wide as that character.
  int BarWidth() const;
  int BlockWidth() const;
  void KeepCaretRoom();
  // Shows the caret at once and starts its blinking over, after every move and change.
  void RestartBlink();
  void HideBlockSelection();

  bool overtype_ = false;
  bool caretOn_ = true;
  bool selectionHidden_ = false;
  QBasicTimer blink_;
};

}  // namespace vrk
