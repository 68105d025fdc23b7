// The Quick View window: a list's entries as a grid, one row per entry, edited in place through an
// edit box laid over the current cell. A changed cell is written into its entry when the edit box
// leaves it, before the grid scrolls down or up, and on OK; closing the window otherwise drops the
// last cell's change.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTableWidget;

namespace vrk {

struct QuickView;

class frmQView : public QDialog {
  Q_OBJECT

 public:
  frmQView(QuickView& view, QWidget* parent = nullptr);

  QTableWidget* grdQV;
  QLineEdit* Text1;  // the edit box over the current cell
  QScrollBar* HScroll1;
  QScrollBar* VScroll1;
  QLabel* lblEntries;
  QLabel* lblDesc;
  QPushButton* cmdOK;

  // The current cell: grid row from 1 (an entry), grid column from 1 (a field).
  int CurrentRow() const { return row_; }
  int CurrentColumn() const { return column_; }

  void cmdOK_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Fill();
  void MoveTo(int row, int column);
  void PutEditBox(int row, int column);
  void PlaceEditBox();
  void CommitQuickViewEdit();

  QuickView& view_;
  int row_ = 0;
  int column_ = 0;
  QString starting_;      // the cell's text when the edit box was put on it
  bool editing_ = false;  // from the window's first showing on
};

}  // namespace vrk
