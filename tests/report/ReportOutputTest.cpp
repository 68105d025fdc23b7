// Printed and ASCII reports, line by line as a reader sees them: ASCII files against reports worked
// out by hand, pages through the recording printer, and the Quick View grid's columns and edits.
#include <gmock/gmock.h>

#include <filesystem>
#include <functional>

#include "catalog/ComputedFields.h"
#include "catalog/Memo.h"
#include "dbase/DbfEngine.h"
#include "fakes/ProgramFixture.h"
#include "fakes/WriteFaults.h"
#include "report/Output.h"
#include "report/PrintedOutput.h"
#include "report/QuickView.h"
#include "search/OutputRun.h"

namespace vrk::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

class ReportOutputTest : public ProgramFixture {
 protected:
  // Places an item of the current format; item 21 is the entry number.
  void Place(int item, short row, short col, short width) {
    LayoutItem& placed = program.report.format.items[static_cast<std::size_t>(item)];
    placed.Row = row;
    placed.Col = col;
    placed.Width = width;
  }
  void LinesPerEntry(short lines) {
    for (LayoutItem& item : program.report.format.items) item.LinesPerEntry = lines;
  }

  // Sends entries first to last to a destination as a list's walk does; the count sent.
  EntryNumber Run(ReportDestination destination, EntryNumber first, EntryNumber last) {
    auto output = MakeReportOutput(program.Report(), destination);
    if (!output->Start()) return 0;
    EntryNumber count = 0;
    for (EntryNumber n = first; n <= last; ++n) {
      EntryRecord entry;
      EXPECT_TRUE(ReadEntry(program, entry, program.header, n, program.entryFile));
      ++count;
      const EntryOutput::Sent sent = output->Send(n, entry);
      if (sent == EntryOutput::Sent::kFailed) return count;
      if (sent == EntryOutput::Sent::kFull) break;
    }
    output->Finish(count);
    return count;
  }

  // An ASCII report of entries first to last, as its lines.
  std::vector<std::string> Ascii(EntryNumber first, EntryNumber last) {
    ui.fileAnswers.push_back(report);
    Run(ReportDestination::kAsciiFile, first, last);
    const std::string bytes = TempDirectory::ReadFile(report);
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2) {
      lines.push_back(bytes.substr(at, end - at));
    }
    EXPECT_EQ(at, bytes.size()) << "every line ends with CR LF";
    return lines;
  }

  static std::vector<std::string> Totals(int count) {
    return {" ", "          TOTAL PRINTED: " + std::to_string(count), " "};
  }

  std::string report = dir / "report.txt";
};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(ReportOutputTest, AsciiReportWithTitlesDashesHeadingsAndTotals) {
  Open(MakeLayout({{"Title", 20}, {"Price", 8, kSumField}, {"Unplaced", 5, kSumField}}));
  Add({"A Very Long Title Here", "12.5", "7"});
  Add({"Short", "3", "1"});
  Place(0, 1, 1, 10);  // cut at 10: the label does not take from the value's room
  Place(1, 1, 30, 8);
  Place(kEntryNumberItem, 2, 1, 6);
  LinesPerEntry(2);
  program.report.format.SetShowTitles(true);
  program.settings.DashedLine = 1;
  program.settings.ColumnHeadings = 1;

  const std::string dashes = "-----------------------------------------------------------ENTRY:     ";
  EXPECT_THAT(
      Ascii(1, 2),
      ElementsAreArray(Join(
          {
              "Title                        Price",
              "Entry #",
              dashes + " 1",
              "Title         : A Very Lon   Price         : 12.5",
              "Entry #       : 1",
              dashes + " 2",
              "Title         : Short        Price         : 3",
              "Entry #       : 2",
          },
          Join(Totals(2), {"          ENTRY TOTALS:", " ", "               Price         : " + FormatStandard(15.5),
                           "               Unplaced      : " + FormatStandard(0)}))));
  EXPECT_EQ(ui.texts().back(), "Wrote 2 entries to ASCII file: " + report + "\r\rTOTALS:\r\rPrice         \t\t:\t" +
                                   FormatStandard(15.5) + "\rUnplaced      \t\t:\t" + FormatStandard(0) + "\r");
}

TEST_F(ReportOutputTest, AnHtmlReportIsOnePageOfTheAsciiLinesEscaped) {
  Open(MakeLayout({{"Title", 20}}));
  Add({"<b>Caf\xE9 & \"x\""});
  Place(0, 1, 1, 20);
  ui.fileAnswers.push_back(dir / "page");  // a name without an extension gets .html
  EXPECT_EQ(Run(ReportDestination::kHtmlFile, 1, 1), 1);
  const std::string page = TempDirectory::ReadFile(dir / "page.html");
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>", 0), 0u);
  const std::string lines = page.substr(page.find("<pre>\n") + 6);
  EXPECT_EQ(lines,
            "&lt;b&gt;Caf\xC3\xA9 &amp; &quot;x&quot;\n \n          TOTAL PRINTED: 1\n \n</pre>\n</body>\n</html>\n");
  EXPECT_EQ(ui.texts().back(), "Wrote 1 entries to HTML file: " + dir / "page.html");
}

TEST_F(ReportOutputTest, LockTopLineGroupsEntriesWithOrWithoutASpace) {
  Open(MakeLayout({{"Group", 10}, {"Item", 10}}));
  Add({"G1", "a"});
  Add({"G1", "b"});
  Add({"G2", "c"});
  Place(0, 1, 1, 10);
  Place(1, 2, 3, 10);
  LinesPerEntry(2);
  program.settings.LockTopLine = 1;
  EXPECT_THAT(Ascii(1, 3), ElementsAreArray(Join({" ", "G1", "  a", "  b", " ", "G2", "  c"}, Totals(3))));
  program.settings.LockTopLine = 2;  // No Space
  EXPECT_THAT(Ascii(1, 3), ElementsAreArray(Join({"G1", "  a", "  b", "G2", "  c"}, Totals(3))));
}

TEST_F(ReportOutputTest, ALineEndsAtItsLastLetterWhereALaterItemBlanksAnEarlierOnesEnd) {
  Open(MakeLayout({{"Name", 11}, {"Over", 7}}));
  Add({"Overlapping", ""});
  Add({"Overlapping", "x"});
  Add({"Short", "y"});
  Place(0, 1, 1, 11);
  Place(1, 1, 5, 7);  // over the name's letters 5 to 11, its value's blanks included
  EXPECT_THAT(Ascii(1, 3), ElementsAreArray(Join({"Over", "Overx", "Shory"}, Totals(3))));
}

TEST_F(ReportOutputTest, LinesEndAtColumn255AndMemosWrapAt70) {
  Open(MakeLayout({{"Name", 40}}));
  Add({"Overlong value"});
  EntryRecord entry;
  ASSERT_TRUE(ReadEntry(program, entry, program.header, 1, program.entryFile));
  const std::string hard = "ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJKLMNO";
  ASSERT_TRUE(SaveMemo(program, entry, 1,
                       "Alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron pi\r\n"
                       "Short.\r\n" +
                           hard));
  Place(0, 1, 250, 40);
  EXPECT_THAT(Ascii(1, 1),
              ElementsAreArray(Join({std::string(249, ' ') + "Overlo",
                                     "\tAlpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu ",
                                     "\txi omicron pi", "\tShort.", "\t" + hard.substr(0, 70), "\tKLMNO", " "},
                                    Totals(1))));
  program.settings.PrintMemos = 0;
  EXPECT_THAT(Ascii(1, 1), ElementsAreArray(Join({std::string(249, ' ') + "Overlo"}, Totals(1))));
}

TEST_F(ReportOutputTest, AnExistingFileAnsweredNoIsLeftAlone) {
  Open(MakeLayout({{"Name", 10}}));
  Add({"x"});
  TempDirectory::WriteFile(report, "keep");
  ui.answers.push_back(Answer::No);
  ui.fileAnswers.push_back(report);
  EXPECT_EQ(Run(ReportDestination::kAsciiFile, 1, 1), 0);
  EXPECT_EQ(TempDirectory::ReadFile(report), "keep");
  EXPECT_THAT(ui.texts(), ElementsAre("ASCII File: " + report + " already exists, OVERWRITE?"));
  EXPECT_TRUE(ui.messages[0].defaultNo);
  EXPECT_FALSE(ui.choosers[0].confirmOverwrite);  // asked once, by the program
}

// Every output a list can write, against every file the program lives on, a symbolic and a hard link
// to it, and a link to a catalog file not made yet: refused with one message, nothing written.
TEST_F(ReportOutputTest, NoOutputGoesOverTheFilesTheProgramLivesOn) {
  namespace fs = std::filesystem;
  Open(MakeLayout({{"Name", 10, kKeyField}}));
  Add({"x"});
  Place(0, 1, 1, 10);
  const std::vector<std::pair<std::string, std::string>> files = {
      {"CAT.DAT", "the catalog CAT"}, {"CAT.SET", "the catalog CAT"},      {"CAT.MEM", "the catalog CAT"},
      {"CAT.MCR", "the catalog CAT"}, {"CATXXX00.WDX", "the catalog CAT"}, {"LIST.FMT", "the program"},
      {"VRK.INI", "the program"},     {"VANTLOCK.SET", "the program"}};
  for (const auto& [file, owner] : files) {
    if (!fs::exists(dir / file)) TempDirectory::WriteFile(dir / file, "kept");
  }
  fs::create_symlink(dir / "CAT.DA$", dir / "staged.txt");  // the staged entry file of a change to come
  const std::vector<std::pair<std::string, std::function<std::unique_ptr<EntryOutput>(const std::string&)>>> outputs = {
      {"ASCII file given", [&](const std::string& path) { return MakeAsciiOutput(program.Report(), path); }},
      {"ASCII File chosen",
       [&](const std::string& path) {
         ui.fileAnswers.push_back(path);
         return MakeReportOutput(program.Report(), ReportDestination::kAsciiFile);
       }},
      {"HTML File chosen",
       [&](const std::string& path) {
         ui.fileAnswers.push_back(path);
         return MakeReportOutput(program.Report(), ReportDestination::kHtmlFile);
       }},
      {"Print to File",
       [&](const std::string& path) {
         printer.file = path;
         return MakeReportOutput(program.Report(), ReportDestination::kPrinter);
       }},
      {"dBase table", [&](const std::string& path) { return MakeDbaseOutput(program, path); }}};
  for (const auto& [file, owner] : files) {
    const std::string bytes = TempDirectory::ReadFile(dir / file);
    // Links named as no file of the program, not as a report format either.
    fs::create_symlink(dir / file, dir / ("symbolic-" + file + ".txt"));
    fs::create_hard_link(dir / file, dir / ("hard-" + file + ".txt"));
    for (const std::string& target :
         {file, "symbolic-" + file + ".txt", "hard-" + file + ".txt", std::string("staged.txt")}) {
      for (const auto& [what, make] : outputs) {
        ui.messages.clear();
        EXPECT_FALSE(make(dir / target)->Start()) << what << " into " << target;
        const std::string named =
            target == "staged.txt" ? "CAT.DA$, a file of the catalog CAT" : file + ", a file of " + owner;
        // The dBase table is named as the engine makes it.
        const std::string shown = what == "dBase table" ? DbfTableFile(dir / target) : dir / target;
        EXPECT_THAT(ui.texts(), ElementsAre(shown + " is " + named + ": no output is written over it.")) << what;
        EXPECT_EQ(TempDirectory::ReadFile(dir / file), bytes) << what << " into " << target;
      }
    }
  }
  EXPECT_FALSE(fs::exists(dir / "CAT.DA$"));
  EXPECT_TRUE(printer.lines.empty());
  printer.file.clear();
}

// Each write of an ASCII report and of a dBase table refused in turn: the output fails, says so, and
// shows no completion message.
TEST_F(ReportOutputTest, EveryRefusedWriteOfAReportOrATableIsAFailure) {
  Open(MakeLayout({{"Name", 10}}));
  for (const char* name : {"a", "b", "c"}) Add({name});
  Place(0, 1, 1, 10);
  const std::string table = dir / "FOUND.DBF";
  const std::vector<std::pair<std::string, std::function<std::unique_ptr<EntryOutput>()>>> outputs = {
      {"ASCII report", [&] { return MakeAsciiOutput(program.Report(), report); }},
      {"HTML report", [&] { return MakeAsciiOutput(program.Report(), report, kHtmlForm); }},
      {"dBase table", [&] { return MakeDbaseOutput(program, table); }}};
  for (const auto& [what, make] : outputs) {
    bool whole = false;
    test::AtEveryWrite(
        test::FaultKind::kFail, what,
        [&](test::FaultKind fault, long at) {
          std::filesystem::remove(table);
          ui.messages.clear();
          files.SetWriteFault(fault, at, ENOSPC);
          const auto output = make();
          whole = output->Start();
          for (EntryNumber n = 1; whole && n <= 3; ++n) {
            EntryRecord entry;
            EXPECT_TRUE(ReadEntry(program, entry, program.header, n, program.entryFile));
            whole = output->Send(n, entry) == EntryOutput::Sent::kMore;
          }
          whole = whole && output->Finish(3);
          const long writes = files.ChangesSoFar();
          files.SetWriteFault(test::FaultKind::kNone);
          EXPECT_TRUE(whole || fault != test::FaultKind::kNone) << what;
          return writes;
        },
        [&](const std::string& when) {
          EXPECT_FALSE(whole) << when;
          EXPECT_FALSE(ui.messages.empty()) << when;
          for (const std::string& text : ui.texts()) EXPECT_NE(text.rfind("Wrote", 0), 0u) << when << ": " << text;
        });
  }
}

TEST_F(ReportOutputTest, AFullDiskStopsTheReportWithoutSuccess) {
  Open(MakeLayout({{"Name", 10}}));
  Add({"x"});
  Place(0, 1, 1, 10);
  ui.fileAnswers.push_back(report);
  files.SetWriteFault(test::FaultKind::kFail, 2, ENOSPC);  // the first change empties the file
  Run(ReportDestination::kAsciiFile, 1, 1);
  files.SetWriteFault(test::FaultKind::kNone);
  EXPECT_THAT(ui.texts(), ElementsAre("The disk is full."));
}

// Page length 6 with two lines an entry: three entries a page. Without a title the first page has no
// top margin; from page 2 on the page number stands at column 64 and the margin follows it.
TEST_F(ReportOutputTest, PagesBreakAtThePageLengthWithNumbersFromPageTwo) {
  Open(MakeLayout({{"Name", 10}}));
  for (const char* name : {"e1", "e2", "e3", "e4", "e5"}) Add({name});
  Place(0, 1, 1, 10);
  Place(kEntryNumberItem, 2, 5, 6);
  LinesPerEntry(2);
  program.settings.PageLength = 6;
  program.settings.TopMargin = 1;
  program.settings.PageNumbers = 2;
  EXPECT_EQ(Run(ReportDestination::kPrinter, 1, 5), 5);
  const std::string column64(63, ' ');
  EXPECT_THAT(printer.lines,
              ElementsAreArray(Join({column64 + "1", "e1", "    1", "e2", "    2", "e3", "    3",
                                     FakePrinter::kPageBreak, column64 + " 2", " ", "e4", "    4", "e5", "    5"},
                                    Totals(5))));
  EXPECT_EQ(printer.documents, 1);
  EXPECT_THAT(ui.texts(), ElementsAre("Printed 5 entries."));
}

TEST_F(ReportOutputTest, ATitledRunOnSingleSheetsAsksForEachNewSheet) {
  Open(MakeLayout({{"Name", 10}}));
  for (const char* name : {"e1", "e2", "e3"}) Add({name});
  Place(0, 1, 1, 10);
  LinesPerEntry(2);
  program.settings.PageLength = 5;
  program.settings.TopMargin = 2;
  program.report.paper = PaperOption::kSingleSheet;
  ui.dialogs.Register<ReportTitle>([](ReportTitle& title) {
    title.title = "Records";
    return true;
  });
  Run(ReportDestination::kPrinter, 1, 3);
  EXPECT_THAT(
      printer.lines,
      ElementsAreArray(Join({" ", " ", "Records", " ", "e1", "", "e2", "", FakePrinter::kPageBreak, " ", " ", "e3", ""},
                            Totals(3))));
  EXPECT_THAT(ui.texts(), ElementsAre("Insert a New Sheet of Paper in the Printer", "Printed 3 entries."));
}

TEST_F(ReportOutputTest, LabelsHaveNoTitleNoFormFeedAndNoTotals) {
  Open(MakeLayout({{"Name", 10}}));
  for (const char* name : {"e1", "e2", "e3"}) Add({name});
  Place(0, 1, 1, 10);
  LinesPerEntry(2);
  program.settings.PageLength = 4;
  program.report.paper = PaperOption::kLabels;
  int titles = 0;
  ui.dialogs.Register<ReportTitle>([&titles](ReportTitle&) { return ++titles, true; });
  Run(ReportDestination::kPrinter, 1, 3);
  EXPECT_EQ(titles, 0);
  EXPECT_THAT(printer.lines, ElementsAre("e1", "", "e2", "", "e3", ""));
  EXPECT_EQ(printer.documents, 1);
}

TEST_F(ReportOutputTest, APrinterThatFailsEndsTheRunWithoutTotalsOrCompletion) {
  Open(MakeLayout({{"Name", 10}}));
  for (const char* name : {"e1", "e2"}) Add({name});
  Place(0, 1, 1, 10);
  printer.failAfter = 1;
  EXPECT_EQ(Run(ReportDestination::kPrinter, 1, 2), 2);
  EXPECT_THAT(printer.lines, ElementsAre("e1"));
  EXPECT_THAT(ui.texts(), ElementsAre("Printer Error"));
}

TEST_F(ReportOutputTest, QuickViewMapsUsedFieldsAndKeepsKeysInStepWithAnEdit) {
  Open(MakeLayout({{"Title", 40, kKeyField}, {"Gap", 0}, {"Qt", 2}, {"Sum", 4, kPlainField, "A+C"}}));
  Add({"Beta", "", "1"});
  Add({"Alpha", "", "2"});
  QuickView view = LoadQuickView(program, true);
  ASSERT_EQ(view.columns.size(), 3U);
  EXPECT_EQ(view.columns[0].width, 20);  // a 40-character field, at most 20
  EXPECT_EQ(view.columns[1].field, 2);   // field 3: field 2 has no length
  EXPECT_EQ(view.columns[1].width, 2);
  EXPECT_TRUE(view.columns[2].readOnly);  // computed
  EXPECT_FALSE(CommitQuickViewEdit(view, 1, 3, "9"));
  for (EntryNumber n : {1, 2}) {
    EntryRecord entry;
    ASSERT_TRUE(ReadEntry(program, entry, program.header, n, program.entryFile));
    AddQuickViewRow(view, n, entry);
  }
  EXPECT_THAT(view.rows[0].cells, ElementsAre("Beta", "1", "1"));

  ASSERT_TRUE(CommitQuickViewEdit(view, 1, 1, "Gamma, a title longer than its forty characters"));
  EXPECT_EQ(view.rows[0].cells[0], "Gamma, a title longer than its forty characters");
  EntryRecord edited;
  ASSERT_TRUE(ReadEntry(program, edited, program.header, 1, program.entryFile));
  EXPECT_EQ(edited.Field[0], "Gamma, a title longer than its forty cha");
  EXPECT_THAT(Walk(0), ElementsAre(2, 1));
}

}  // namespace
}  // namespace vrk::test
