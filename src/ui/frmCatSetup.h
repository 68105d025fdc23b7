// The Catalog Setup window: a row for each of the 21 fields with its name, length, key and sum marks
// and formula, the options of the current row, and a sample of how wide its box will be.
#pragma once

#include <QDialog>
#include <array>

#include "admin/CatalogSetup.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace vrk {

class QtUi;

class frmCatSetup : public QDialog {
  Q_OBJECT

 public:
  frmCatSetup(CatalogSetup& setup, QtUi& ui, QWidget* parent = nullptr);

  std::array<QRadioButton*, kFieldCount> optField{};
  std::array<QLineEdit*, kFieldCount> txtFieldName{};
  std::array<QLineEdit*, kFieldCount> txtFieldLength{};
  std::array<QLabel*, kFieldCount> picKey{};
  std::array<QLabel*, kFieldCount> picSum{};
  std::array<QLabel*, kFieldCount> lblFormula{};
  QCheckBox* optKey;
  QCheckBox* optSum;
  QPushButton* cmdAddLength;
  QPushButton* cmdSubtractLength;
  QPushButton* cmdEditFormula;
  QPushButton* cmdRemoveFormula;
  QFrame* panSample;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  int CurrentRow() const { return current_; }

  void optKey_Click();
  void optSum_Click();
  void cmdAddLength_Click();
  void cmdSubtractLength_Click();
  void cmdEditFormula_Click();
  void cmdRemoveFormula_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

 protected:
  // The boxes' keys: digits only in the length boxes, Enter moves on; a box gets its text selected.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Enter on the other controls moves to the next one.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SelectRow(int row);
  void SetLength(int row, const std::string& text);
  void ShowMarks(int row);
  void ShowFormulas();

  CatalogSetup& setup_;
  QtUi& ui_;
  SetupRows rows_;
  QScrollArea* rowsArea_ = nullptr;  // the rows, which a small screen scrolls
  int current_ = 0;
  double charWidth_ = 0;
};

}  // namespace vrk
