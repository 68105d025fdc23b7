// Report Setup's checks, the designer's rules and the Report Maintenance commands, without windows.
#include <gtest/gtest.h>

#include "fakes/ProgramFixture.h"
#include "report/ReportDesigner.h"
#include "report/ReportMaintenance.h"
#include "report/ReportSetup.h"
#include "shell/Reports.h"
#include "shell/Settings.h"

namespace vrk {
namespace {

using test::TempDirectory;

class ReportCommandsTest : public test::ProgramFixture {
 protected:
  void SetUp() override { Open(test::MakeLayout({{"Artist", 20}, {"Title", 25}, {"Year", 4}})); }
  ReportFormat NewFormat() {
    ReportFormat format;
    InitNewReportFormat(program, format);
    return format;
  }
};

TEST_F(ReportCommandsTest, SetupChecksRunInOrderAndKeepWhatPassed) {
  ReportSetup setup(ui, program.settings);
  FillReportSetup(setup, program.report);
  const struct {
    std::string ReportSetup::*box;
    std::string value;
    SetupBox failed;
    std::string message;
  } cases[] = {
      {&ReportSetup::pageLength, "", SetupBox::kPageLength, "Page Length is blank."},
      {&ReportSetup::pageLength, "3", SetupBox::kPageLength, "Page length must be between 4 and 500."},
      {&ReportSetup::pageLength, "501", SetupBox::kPageLength, "Page length must be between 4 and 500."},
      {&ReportSetup::pageLength, "4", SetupBox::kNone, ""},
      {&ReportSetup::topMargin, "", SetupBox::kTopMargin, "Top Margin is blank."},
      {&ReportSetup::topMargin, "5", SetupBox::kTopMargin, "Top Margin must be between 0 and Page Length."},
      {&ReportSetup::topMargin, "4", SetupBox::kNone, ""},
      {&ReportSetup::quickViewLines, "", SetupBox::kQuickViewLines, "Quick View max # of lines is blank."},
      {&ReportSetup::quickViewLines, "0", SetupBox::kQuickViewLines,
       "Quick View must be set to have at least one entry."},
      {&ReportSetup::quickViewLines, "4012", SetupBox::kQuickViewLines,
       "Quick View can only be set for a maximum of 4000 entries."},
      {&ReportSetup::quickViewLines, "4011", SetupBox::kNone, ""},
      {&ReportSetup::quickViewWidth, "", SetupBox::kQuickViewWidth, "Quick View column width is blank."},
      {&ReportSetup::quickViewWidth, "2", SetupBox::kQuickViewWidth,
       "Quick View column width must be between 3 and 64."},
      {&ReportSetup::quickViewWidth, "65", SetupBox::kQuickViewWidth,
       "Quick View column width must be between 3 and 64."},
      {&ReportSetup::quickViewWidth, "64", SetupBox::kNone, ""},
      {&ReportSetup::quickViewWidth, "3", SetupBox::kNone, ""},
  };
  for (const auto& check : cases) {
    ui.messages.clear();
    setup.*check.box = check.value;
    EXPECT_EQ(CheckReportSetup(setup), check.failed) << check.message;
    EXPECT_EQ(ui.texts(), check.message.empty() ? std::vector<std::string>{} : std::vector{check.message});
  }
  EXPECT_EQ(program.settings.PageLength, 4);
  EXPECT_EQ(program.settings.QuickViewMaxLines, 4011);

  // A refused line count is put right in its box.
  setup.quickViewLines = "0";
  (void)CheckReportSetup(setup);
  EXPECT_EQ(setup.quickViewLines, "1");
  setup.quickViewLines = "9999";
  (void)CheckReportSetup(setup);
  EXPECT_EQ(setup.quickViewLines, "4000");

  // A new page length stays in force when the top margin after it is refused.
  setup.pageLength = "100";
  setup.topMargin = "";
  EXPECT_EQ(CheckReportSetup(setup), SetupBox::kTopMargin);
  EXPECT_EQ(program.settings.PageLength, 100);
}

TEST_F(ReportCommandsTest, SetupStoresSwitchesAndLockTopLineCountsBoxes) {
  ReportSetup setup(ui, program.settings);
  FillReportSetup(setup, program.report);
  EXPECT_TRUE(setup.printMemos);  // a new catalog prints memos
  EXPECT_FALSE(setup.lockTopLine || setup.noSpace || setup.pageNumbers);
  setup.printMemos = false;
  setup.dashedLine = setup.columnHeadings = setup.pageNumbers = setup.lockTopLine = setup.noSpace = true;
  ASSERT_EQ(CheckReportSetup(setup), SetupBox::kNone);
  const CatalogSettings& s = program.settings;
  EXPECT_EQ(std::vector<short>({s.PrintMemos, s.DashedLine, s.ColumnHeadings, s.PageNumbers, s.LockTopLine}),
            std::vector<short>({0, 1, 1, 2, 2}));
  setup.noSpace = false;
  ASSERT_EQ(CheckReportSetup(setup), SetupBox::kNone);
  EXPECT_EQ(s.LockTopLine, 1);
  FillReportSetup(setup, program.report);
  EXPECT_TRUE(setup.lockTopLine);
  EXPECT_FALSE(setup.noSpace);
}

TEST_F(ReportCommandsTest, SetupWithoutAFormatSaysSoAndCancelChangesNothing) {
  ReportSetupCommand(program);  // no window: cancelled
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"No report format selected. Printer and file output disabled.  Go to "
                                                 "the Report Maintenance screen and select a report format."});
  EXPECT_EQ(ui.dialogCancel, -1);
  bool shown = false;
  ui.dialogs.Register<ReportSetup>([&](ReportSetup& setup) {
    shown = true;
    EXPECT_FALSE(setup.formatSelected);
    setup.destination = ReportDestination::kQuickView;
    return CheckReportSetup(setup) == SetupBox::kNone;
  });
  ReportSetupCommand(program);
  EXPECT_TRUE(shown);
  EXPECT_EQ(program.report.destination, ReportDestination::kQuickView);
  EXPECT_EQ(ReadReportDestination(program), ReportDestination::kQuickView);
  EXPECT_EQ(screen.Panel(Panel::RptDest), "QUICK VIEW");
  EXPECT_EQ(ui.dialogCancel, 0);
}

TEST_F(ReportCommandsTest, DesignerKeepsItemsApartAndWithinThePage) {
  ReportFormat format = NewFormat();
  format.items[0].Width = 10;
  ReportDesigner designer(ui, program, format, "");
  ASSERT_TRUE(PlaceItem(designer, {1, 1}));
  ChooseItem(designer, 2);  // Year, 4 wide
  EXPECT_FALSE(PlaceItem(designer, {1, 11}));
  EXPECT_TRUE(PlaceItem(designer, {1, 12}));
  EXPECT_FALSE(MoveItem(designer, Direction::kLeft));  // to column 11: too close
  EXPECT_FALSE(MoveItem(designer, Direction::kUp));
  EXPECT_FALSE(MoveItem(designer, Direction::kDown));  // the end line
  ASSERT_TRUE(ChangeLinesPerEntry(designer, +1));
  EXPECT_TRUE(MoveItem(designer, Direction::kDown));
  EXPECT_EQ(ShownPosition(designer).row, 2);

  // With titles an item takes its field name's columns too: Year must start at column 27.
  EXPECT_TRUE(SetShowTitles(designer, true));  // alone on line 2, Year fits
  EXPECT_FALSE(MoveItem(designer, Direction::kUp));
  EXPECT_FALSE(SetShowTitles(designer, false));
  ASSERT_TRUE(MoveItem(designer, Direction::kUp));
  ui.messages.clear();
  EXPECT_FALSE(SetShowTitles(designer, true));
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Artist is too close to another field. Increase spacing."});
  EXPECT_FALSE(format.ShowTitles());
  for (int i = 0; i < 15; ++i) ASSERT_TRUE(MoveItem(designer, Direction::kRight));
  EXPECT_EQ(format.items[2].Col, 27);
  EXPECT_TRUE(SetShowTitles(designer, true));

  // Widths stop at the field's length, 11 for the entry number; scrolling beeps beyond its range.
  ChooseItem(designer, 2);
  EXPECT_FALSE(ChangeItemWidth(designer, +1));
  ChooseItem(designer, kEntryNumberItem);
  for (int i = 0; i < 8; ++i) (void)ChangeItemWidth(designer, +1);
  EXPECT_EQ(format.items[kEntryNumberItem].Width, 11);
  EXPECT_FALSE(ScrollPage(designer, +1));
  EXPECT_EQ(ui.beeps, 2);  // the too-close message's beep and this one
  for (int i = 0; i < 90; ++i) ASSERT_TRUE(ScrollPage(designer, -1));
  EXPECT_FALSE(ScrollPage(designer, -1));
  // A click lands on the cell under it, with the page scrolled.
  const auto cell = CellAt(designer, 25, 30, 10, 20);
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->row, 2);
  EXPECT_EQ(cell->col, 93);
  EXPECT_FALSE(CellAt(designer, 25, 40, 10, 20));  // on the end line
  EXPECT_FALSE(CellAt(designer, 25, 2, 10, 20));   // the page's top edge
}

TEST_F(ReportCommandsTest, MaintenanceMakesCopiesRenamesDeletesAndSelects) {
  ReportMaintenance maintenance(program, program.report, false);
  ui.dialogs.Register<ReportDesigner>([](ReportDesigner& designer) {
    EXPECT_EQ(designer.caption, "Edit Report Format  (LIST)");
    return PlaceItem(designer, {1, 1});
  });
  ui.promptAnswers = {"list", "List", "copy", "list", "NEWNAME"};
  NewReport(maintenance);
  EXPECT_EQ(maintenance.names, std::vector<std::string>{"LIST"});
  EXPECT_EQ(maintenance.selected, -1);  // added, not selected
  NewReport(maintenance);
  EXPECT_EQ(ui.texts(), std::vector<std::string>{"Report format already exists. NEW Aborted."});
  BuildReportList(maintenance);
  ASSERT_EQ(maintenance.selected, 0);
  CopyReport(maintenance);
  EXPECT_EQ(TempDirectory::ReadFile(dir / "COPY.FMT"), TempDirectory::ReadFile(dir / "LIST.FMT"));
  CopyReport(maintenance);
  EXPECT_EQ(ui.texts().back(), "Report format already exists. Copy Aborted.");

  SelectReport(maintenance);
  EXPECT_EQ(program.reportFormatName, "LIST");
  EXPECT_EQ(program.report.format.items[0].Row, 1);
  CatalogSettings stored;
  ReadSettings(program, "CAT", stored);
  EXPECT_EQ(stored.FormatSelected, 2);
  EXPECT_EQ(RightTrim(stored.ReportName), "LIST");

  RenameReport(maintenance);  // the current format: its name follows
  EXPECT_EQ(program.reportFormatName, "NEWNAME");
  EXPECT_EQ(maintenance.names, (std::vector<std::string>{"COPY", "NEWNAME"}));
  EXPECT_EQ(maintenance.selected, 1);
  EXPECT_TRUE(std::filesystem::exists(dir / "NEWNAME.FMT"));

  ui.answers = {Answer::No, Answer::Yes};
  DeleteReport(maintenance);
  EXPECT_TRUE(std::filesystem::exists(dir / "NEWNAME.FMT"));
  DeleteReport(maintenance);
  EXPECT_EQ(ui.messages.back().text, "Really want to delete NEWNAME?");
  EXPECT_TRUE(ui.messages.back().defaultNo);
  EXPECT_FALSE(std::filesystem::exists(dir / "NEWNAME.FMT"));
  EXPECT_EQ(program.reportFormatName, "");
  EXPECT_EQ(maintenance.names, std::vector<std::string>{"COPY"});
  EXPECT_EQ(maintenance.selected, 0);

  TempDirectory::WriteFile(dir / "COPY.FMT", std::string(276, '\0'));
  SelectReport(maintenance);
  EXPECT_EQ(ui.texts().back(), "Report is invalid.");
  EXPECT_EQ(program.reportFormatName, "");
  DeleteReport(maintenance);
  EXPECT_EQ(maintenance.selected, -1);
  EXPECT_FALSE(ListCommandsEnabled(maintenance));
}

TEST_F(ReportCommandsTest, EditingTheCurrentFormatChangesItInMemoryToo) {
  ReportFormat format = NewFormat();
  for (LayoutItem& item : format.items) item.Width = 60;
  ASSERT_TRUE(WriteReportFormat(program, "WIDE", format));
  ReportMaintenance maintenance(program, program.report, false);
  BuildReportList(maintenance);
  SelectReport(maintenance);
  EXPECT_EQ(program.report.format.items[2].Width, 4);  // lowered in memory only
  EXPECT_EQ(TempDirectory::ReadFile(dir / "WIDE.FMT"), EncodeReportFormat(format));
  ui.dialogs.Register<ReportDesigner>([](ReportDesigner& designer) {
    EXPECT_EQ(designer.caption, "Edit Report Format   (WIDE)");
    return ChangeLinesPerEntry(designer, +2);
  });
  EditReport(maintenance);
  EXPECT_EQ(program.report.format.LinesPerEntry(), 3);
  ReportFormat read;
  ASSERT_TRUE(ReadReportFormat(program, "WIDE", read));
  EXPECT_EQ(read, program.report.format);
  EXPECT_EQ(read.items[21].LinesPerEntry, 3);
}

}  // namespace
}  // namespace vrk
