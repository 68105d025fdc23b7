// The Sort Setup window: the sort pattern put together level by level, each level shown one row lower
// and a step further right than the one before, with an arrow between them.
#pragma once

#include <QDialog>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace vrk {

struct SortSetup;

class frmSortSetup : public QDialog {
  Q_OBJECT

 public:
  frmSortSetup(SortSetup& setup, QWidget* parent = nullptr);

  QComboBox* cboFieldName;
  QPushButton* cmdAdd;
  QPushButton* cmdRemove;
  QPushButton* cmdClearAll;
  QPushButton* cmdUnsort;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;
  std::vector<QLabel*> lblFieldName;  // one per level
  std::vector<QLabel*> picArrow;      // between consecutive levels

  void cmdAdd_Click();
  void cmdRemove_Click();
  void cmdClearAll_Click();
  void cmdUnsort_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  void ShowLevels();

  SortSetup& setup_;
  QWidget* levels_;
};

}  // namespace vrk
