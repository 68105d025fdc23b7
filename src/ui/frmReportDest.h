// The Report Setup window: where output goes, the paper, what a report carries, the page geometry,
// the Quick View limits and the printer font.
#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vrk {

struct ReportSetup;
class QtUi;

class frmReportDest : public QDialog {
  Q_OBJECT

 public:
  frmReportDest(ReportSetup& setup, QtUi& ui, QWidget* parent = nullptr);

  QGroupBox* fraDestination;
  QGroupBox* fraFormat;
  QGroupBox* fraPaper;
  QRadioButton* optMonitor;
  QRadioButton* optPrinter;
  QRadioButton* optQuickView;
  QRadioButton* optASCIIFile;
  QRadioButton* optHTMLFile;
  QRadioButton* optDBase;
  QRadioButton* optContinuous;
  QRadioButton* optSingle;
  QRadioButton* optLabels;
  QCheckBox* chkPrintMemos;
  QCheckBox* chkDashed;
  QCheckBox* chkColHeadings;
  QCheckBox* chkLockTop;
  QCheckBox* chkNoSpace;
  QCheckBox* chkPageNum;
  QLineEdit* txtPageLength;
  QLineEdit* txtTopMargin;
  QLineEdit* txtQVMaxLines;
  QLineEdit* txtQVColWidth;
  QPushButton* cmdFonts;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  void chkLockTop_Click();
  void cmdFonts_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ReportSetup& setup_;
  QtUi& ui_;
  QButtonGroup* destinations_;
  QButtonGroup* papers_;
};

}  // namespace vrk
