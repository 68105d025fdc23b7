// The Edit Memo window: the current entry's memo in a text box of several lines.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace vrk {

struct MemoEditor;

class frmMemo : public QDialog {
  Q_OBJECT

 public:
  frmMemo(MemoEditor& editor, QWidget* parent = nullptr);

  QPlainTextEdit* txtMemo;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  MemoEditor& editor_;
};

}  // namespace vrk
