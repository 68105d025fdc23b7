// The report windows driven as a user drives them: Report Setup's checks in their order, and a format
// made in Report Maintenance with the designer, clicked onto the page.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest/QTest>

#include "Desktop.h"
#include "report/ReportFormat.h"
#include "shell/Settings.h"
#include "ui/frmEnterName.h"
#include "ui/frmReportDest.h"
#include "ui/frmRptMaintenance.h"
#include "ui/frmRptSetup.h"

namespace vrk::test {
namespace {

using ::testing::ElementsAre;

using ReportWindowsTest = DesktopTest;

template <typename Window>
void Script(RecordingUi& ui, const std::function<void(Window&)>& act) {
  ui.script.push_back([act](QDialog& dialog) {
    QApplication::setActiveWindow(&dialog);
    act(dynamic_cast<Window&>(dialog));
  });
}

TEST_F(ReportWindowsTest, ReportSetupChecksTheBoxesInOrder) {
  Start({{"Title", 20}});
  Script<frmReportDest>(ui, [&](frmReportDest& window) {
    EXPECT_FALSE(window.optPrinter->isEnabled());
    EXPECT_FALSE(window.optASCIIFile->isEnabled());
    EXPECT_TRUE(window.optMonitor->isChecked());
    EXPECT_FALSE(window.chkNoSpace->isEnabled());
    QTest::keyClicks(window.txtQVMaxLines, "x");  // refused with a beep
    window.txtPageLength->setText("3");
    window.txtTopMargin->setText("");
    window.txtQVMaxLines->setText("4012");
    window.txtQVColWidth->setText("65");
    window.cmdOK->click();
    EXPECT_TRUE(window.txtPageLength->hasFocus());
    window.txtPageLength->setText("50");
    window.cmdOK->click();
    EXPECT_TRUE(window.txtTopMargin->hasFocus());
    window.txtTopMargin->setText("51");
    window.cmdOK->click();
    window.txtTopMargin->setText("50");
    window.cmdOK->click();
    EXPECT_EQ(window.txtQVMaxLines->text(), "4000");
    EXPECT_TRUE(window.txtQVMaxLines->hasFocus());
    window.cmdOK->click();
    EXPECT_TRUE(window.txtQVColWidth->hasFocus());
    window.txtQVColWidth->setText("64");
    window.chkLockTop->click();
    window.chkNoSpace->click();
    window.optQuickView->click();
    window.cmdOK->click();
  });
  window.mnuOSetup->trigger();
  EXPECT_THAT(ui.events,
              ElementsAre("message: No report format selected. Printer and file output disabled.  Go to the Report "
                          "Maintenance screen and select a report format.",
                          "beep", "message: Page length must be between 4 and 500.", "message: Top Margin is blank.",
                          "message: Top Margin must be between 0 and Page Length.",
                          "message: Quick View can only be set for a maximum of 4000 entries.",
                          "message: Quick View column width must be between 3 and 64."));
  EXPECT_EQ(Panel(Panel::RptDest), "QUICK VIEW");
  EXPECT_EQ(ReadReportDestination(program), ReportDestination::kQuickView);
  CatalogSettings stored;
  ReadSettings(program, "CAT", stored);
  EXPECT_EQ(std::vector<short>({stored.PageLength, stored.TopMargin, stored.QuickViewMaxLines,
                                stored.QuickViewColumnWidth, stored.LockTopLine}),
            std::vector<short>({50, 50, 4000, 64, 2}));
}

TEST_F(ReportWindowsTest, ReportSetupInTheReadOnlyStateOnlyCancels) {
  Start({{"Title", 20}});
  program.readOnly = true;
  Script<frmReportDest>(ui, [&](frmReportDest& window) {
    EXPECT_FALSE(window.cmdOK->isEnabled());
    EXPECT_FALSE(window.fraDestination->isEnabled());
    EXPECT_FALSE(window.cmdFonts->isEnabled());
    EXPECT_TRUE(window.txtPageLength->isReadOnly());
    window.cmdCancel->click();
  });
  window.mnuOSetup->trigger();
  EXPECT_EQ(program.ui.dialogCancel, -1);
}

TEST_F(ReportWindowsTest, DesignerPlacesItemsByClickingTheGrid) {
  Start({{"Artist", 10}, {"Title", 25}});
  Script<frmRptMaintenance>(ui, [&](frmRptMaintenance& window) {
    EXPECT_FALSE(window.cmdSelect->isEnabled());
    ui.script.push_back([](QDialog& dialog) {
      auto& prompt = dynamic_cast<frmEnterName&>(dialog);
      QTest::keyClicks(prompt.txtName, "songs");
      prompt.cmdOK->click();
    });
    Script<frmRptSetup>(ui, [&](frmRptSetup& designer) {
      EXPECT_EQ(designer.windowTitle(), "Edit Report Format  (SONGS)");
      EXPECT_EQ(designer.lblXCoord->text(), "1");
      const auto click = [&](int col, int row) {
        const QPoint at(static_cast<int>((col - 0.5) * designer.CellWidth()),
                        static_cast<int>((row - 0.5) * designer.CellHeight()));
        QTest::mouseClick(designer.picPage, Qt::LeftButton, {}, at);
      };
      click(1, 1);  // Artist, 10 wide
      EXPECT_TRUE(designer.lblField[0]->isVisible());
      designer.cboFieldName->setCurrentIndex(1);
      emit designer.cboFieldName->activated(1);
      click(11, 1);  // 10 columns on: too close
      EXPECT_FALSE(designer.lblField[1]->isVisible());
      click(12, 1);  // 11 columns on
      EXPECT_TRUE(designer.lblField[1]->isVisible());
      EXPECT_EQ(designer.lblXCoord->text(), "12");
      EXPECT_EQ(designer.lblField[1]->x(), qRound(11 * designer.CellWidth()));
      click(30, 2);  // below the end line: nothing
      EXPECT_EQ(designer.lblYCoord->text(), "1");
      designer.Spin1Up->click();
      designer.cmdDown->click();
      EXPECT_EQ(designer.lblYCoord->text(), "2");
      designer.chkTitles->click();
      EXPECT_TRUE(designer.chkTitles->isChecked());
      EXPECT_EQ(designer.lblField[1]->width(), qRound(41 * designer.CellWidth()));
      designer.cmdOK->click();
    });
    window.cmdNew->click();
    EXPECT_EQ(window.lstReport->count(), 1);
    window.cmdOK->click();
  });
  window.mnuRSelectLayout->trigger();

  std::string expected;
  const auto record = [&](short width, short row, short col, short lines) {
    expected += std::string(2, '\0');
    for (const short value : {width, row, col, lines}) expected += {static_cast<char>(value), '\0'};
    expected += std::string(2, '\0');
  };
  record(10, 1, 1, 2);
  record(25, 2, 12, 2);
  for (int k = 2; k < 21; ++k) record(0, 0, 0, 2);
  record(6, 0, 0, 2);
  record(1, 0, 0, 0);
  EXPECT_EQ(TempDirectory::ReadFile(dir / "SONGS.FMT"), expected);
  EXPECT_TRUE(ui.Texts().empty());
}

}  // namespace
}  // namespace vrk::test
