// An entry box of the main window. In overtype mode exactly one character stays selected at the
// caret, so that the next typed character replaces it; the selection is the block caret. Text that
// code page 1252 cannot hold is shown as '?' as soon as it is typed, which is what will be saved.
#pragma once

#include <QLineEdit>

namespace vrk {

class EntryBox : public QLineEdit {
  Q_OBJECT

 public:
  explicit EntryBox(QWidget* parent = nullptr);

  void SetOvertype(bool overtype);
  bool Overtype() const { return overtype_; }
  int CaretWidth() const { return caretWidth_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  // The caret as the user sees it: the start of the one-character selection in overtype mode.
  int Caret() const;
  void SelectAtCaret();
  void KeepToCodePage(const QString& text);
  void SetCaretWidth(int width);

  bool overtype_ = false;
  int caretWidth_;
};

}  // namespace vrk
