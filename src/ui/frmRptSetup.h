// The report format designer: a page of report lines drawn as a grid of character cells, one label
// per field and for the entry number, and the controls that place, move, widen and remove them.
#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace vrk {

struct ReportDesigner;

class frmRptSetup : public QDialog {
  Q_OBJECT

 public:
  frmRptSetup(ReportDesigner& designer, QWidget* parent = nullptr);

  QComboBox* cboFieldName;
  QLabel* panFieldLength;
  QToolButton* Spin2Up;
  QToolButton* Spin2Down;
  QLabel* panNumLines;
  QToolButton* Spin1Up;
  QToolButton* Spin1Down;
  QLabel* lblXCoord;
  QLabel* lblYCoord;
  QToolButton* cmdUp;
  QToolButton* cmdDown;
  QToolButton* cmdLeft;
  QToolButton* cmdRight;
  QToolButton* cmdScrLeft;
  QToolButton* cmdScrRight;
  QCheckBox* chkTitles;
  QPushButton* cmdRemove;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;
  QWidget* picPage;  // the page, with the labels lblField on it
  std::array<QLabel*, 22> lblField{};

  // The size of a character cell of the page, in pixels: the program font's average width and height.
  double CellWidth() const { return cellWidth_; }
  double CellHeight() const { return cellHeight_; }

  void cboFieldName_Click();
  void lblField_MouseDown(int item);
  void picPage_MouseDown(QPointF at);
  void cmdMove_Click(int direction);
  void Spin2_Change(int step);
  void Spin1_Change(int step);
  void cmdScroll_Click(int step);
  void cmdRemove_Click();
  void chkTitles_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Lays every label out at its position and shows the chosen item as selected and its numbers.
  void ShowLayout();

  ReportDesigner& designer_;
  double cellWidth_;
  double cellHeight_;
};

}  // namespace vrk
