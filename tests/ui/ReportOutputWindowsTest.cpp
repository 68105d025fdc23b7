// The report windows driven as a user drives them: Quick View's edit box saving a cell into the entry
// and its key, the Report Title window's refusal of an empty title; printing into PDF files, read back
// by poppler's pdftotext (and pdftoppm for an underline), Print Setup and Print Preview.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest/QTest>
#include <algorithm>
#include <cstdio>

#include "Desktop.h"
#include "fakes/Locale.h"
#include "index/Keys.h"
#include "platform/Profile.h"
#include "report/Output.h"
#include "report/PrintedOutput.h"
#include "report/ReportSetup.h"
#include "shell/Printing.h"
#include "shell/Startup.h"
#include "support/IndexFile.h"
#include "ui/PrintDialogs.h"
#include "ui/QtPrinter.h"
#include "ui/frmQView.h"
#include "ui/frmRTitle.h"

namespace vrk::test {
namespace {

using ::testing::ElementsAre;

using ReportOutputWindowsTest = DesktopTest;

// The entry numbers of field 1's index in key order.
std::vector<EntryNumber> KeyOrder(Program& program) {
  std::vector<EntryNumber> order;
  const short handle = OpenIndex(program, 0, "CAT", lib::kNdxOpen);
  std::int32_t entry = 0;
  for (auto result = lib::GetFirst(program.indexes, handle, entry); result == lib::kNdxOk;
       result = lib::GetNext(program.indexes, handle, entry)) {
    order.push_back(entry);
  }
  EXPECT_EQ(lib::CloseNDX(program.indexes, handle), lib::kNdxOk);
  return order;
}

// Shows entries 1 to `count` in Quick View with `act` at the window.
void RunQuickView(Program& program, RecordingUi& ui, EntryNumber count, const std::function<void(frmQView&)>& act) {
  ui.script.push_back([act](QDialog& dialog) {
    QApplication::setActiveWindow(&dialog);
    act(dynamic_cast<frmQView&>(dialog));
  });
  auto output = MakeReportOutput(program.Report(), ReportDestination::kQuickView);
  ASSERT_TRUE(output->Start());
  for (EntryNumber n = 1; n <= count; ++n) {
    EntryRecord entry;
    ASSERT_TRUE(ReadEntry(program, entry, program.header, n, program.entryFile));
    if (output->Send(n, entry) != EntryOutput::Sent::kMore) break;
  }
  output->Finish(count);
}

TEST_F(ReportOutputWindowsTest, QuickViewSavesAnEditedCellIntoTheEntryAndItsKey) {
  Start({{"Title", 12, kKeyField}, {"Gap", 0}, {"Year", 4}, {"Twice", 6, kPlainField, "C+C"}},
        {{{"Beta", "", "1999"}}, {{"Alpha", "", "2001"}}, {{"Delta", "", "2010"}}});
  RunQuickView(program, ui, 3, [](frmQView& window) {
    EXPECT_EQ(window.windowTitle(), "Quick View");
    EXPECT_EQ(window.lblEntries->text(), "3");
    EXPECT_EQ(window.lblDesc->text(), "Entries");
    EXPECT_EQ(window.grdQV->columnCount(), 4);  // the entry number, Title, Year, Twice: Gap has no length
    EXPECT_EQ(window.grdQV->item(0, 3)->text(), "3998");
    EXPECT_TRUE(window.Text1->hasFocus());
    EXPECT_EQ(window.Text1->selectedText(), "Beta");
    QTest::keyClicks(window.Text1, "Omega");
    QTest::keyClick(window.Text1, Qt::Key_Tab);  // leaving the cell saves it
    EXPECT_EQ(window.CurrentColumn(), 2);
    QTest::keyClick(window.Text1, Qt::Key_Tab);
    EXPECT_TRUE(window.Text1->isReadOnly());  // a computed field
    QTest::keyClick(window.Text1, Qt::Key_Tab);
    EXPECT_EQ(window.CurrentRow(), 2);
    EXPECT_EQ(window.CurrentColumn(), 1);
    QTest::keyClick(window.Text1, Qt::Key_Backtab);  // not before column 1
    EXPECT_EQ(window.CurrentColumn(), 1);
    QTest::keyClick(window.Text1, Qt::Key_Down);
    EXPECT_EQ(window.CurrentRow(), 3);
    QTest::keyClick(window.Text1, Qt::Key_Tab);
    window.Text1->setText("2020");
    window.cmdOK->click();  // saves the cell it is on
  });
  const CatalogOnDisk stored = Stored();
  EXPECT_EQ(stored.entries[0].Field[0], "Omega       ");
  EXPECT_EQ(stored.entries[2].Field[2], "2020");
  EXPECT_THAT(KeyOrder(program), ElementsAre(2, 3, 1));
}

TEST_F(ReportOutputWindowsTest, QuickViewOfOneEntrySaysEntryAndClosingWithoutOkKeepsTheEntry) {
  Start({{"Title", 12}}, {{{"Beta"}}, {{"Alpha"}}});
  program.settings.QuickViewMaxLines = 1;
  RunQuickView(program, ui, 2, [](frmQView& window) {
    EXPECT_EQ(window.grdQV->rowCount(), 1);
    EXPECT_EQ(window.lblDesc->text(), "Entry");
    QTest::keyClicks(window.Text1, "Gamma");
    window.reject();
  });
  EXPECT_EQ(Stored().entries[0].Field[0], "Beta        ");
}

TEST_F(ReportOutputWindowsTest, TheReportTitleWindowAsksAgainForAnEmptyTitle) {
  StartWithoutCatalog();
  ReportTitle title;
  ui.script.push_back([](QDialog& dialog) {
    auto& window = dynamic_cast<frmRTitle&>(dialog);
    EXPECT_EQ(window.windowTitle(), "Report Title");
    window.cmdOK->click();
    EXPECT_TRUE(window.isVisible());
    QTest::keyClicks(window.txtRptTitle, "Records & Tapes");
    window.cmdOK->click();
  });
  EXPECT_TRUE(ui.dialogs.Show(title));
  EXPECT_EQ(title.title, "Records & Tapes");
  EXPECT_THAT(ui.Texts(), ElementsAre("Please enter a title. Press CANCEL for no title."));
}

// The lines of a text, each with its runs of blanks as one and without blanks at either end (a PDF's
// text keeps words and their order, not every blank); empty lines dropped.
std::vector<std::string> TextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find_first_of("\r\n\f", at);
    if (end == std::string::npos) end = text.size();
    std::string line;
    for (std::size_t i = at; i < end; ++i) {
      if (text[i] != ' ' || (!line.empty() && line.back() != ' ')) line += text[i];
    }
    line = RightTrim(line);
    if (!line.empty()) lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

std::string CommandOutput(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
    pclose(pipe);
  }
  return output;
}

void RunReport(const ReportContext& context, ReportDestination destination, EntryNumber count) {
  auto output = MakeReportOutput(context, destination);
  ASSERT_TRUE(output->Start());
  for (EntryNumber n = 1; n <= count; ++n) {
    EntryRecord entry;
    ASSERT_TRUE(ReadEntry(context.store, entry, context.store.header, n, context.store.entryFile));
    ASSERT_EQ(output->Send(n, entry), EntryOutput::Sent::kMore);
  }
  output->Finish(count);
}

TEST_F(ReportOutputWindowsTest, APdfReportReadsAsTheAsciiReportOfTheSameEntries) {
  if (std::system("command -v pdftotext >/dev/null") != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  Start({{"Title", 20}, {"Year", 4, kSumField}}, {{{"Blue Train", "1957"}}, {{"Kind of Blue", "1959"}}});
  for (LayoutItem& item : program.report.format.items) item.LinesPerEntry = 2;
  program.report.format.items[0] = {.Width = 20, .Row = 1, .Col = 1, .LinesPerEntry = 2};
  program.report.format.items[1] = {.Width = 4, .Row = 1, .Col = 30, .LinesPerEntry = 2};
  program.report.format.items[kEntryNumberItem] = {.Width = 6, .Row = 2, .Col = 5, .LinesPerEntry = 2};
  program.settings.DashedLine = 1;
  program.settings.ColumnHeadings = 1;
  QtPrinter pdf;
  pdf.PrintToPdf(dir / "report.pdf");
  ui.script.push_back(CancelDialog());  // No Title: the ASCII file has none
  RunReport({program, pdf, program.report, false}, ReportDestination::kPrinter, 2);
  const std::string ascii = dir / "report.txt";
  ui.script.push_back([&ascii](QDialog& dialog) {
    auto& chooser = dynamic_cast<QFileDialog&>(dialog);
    chooser.selectFile(QString::fromStdString(ascii));
    static_cast<QDialog&>(chooser).accept();
  });
  RunReport({program, pdf, program.report, false}, ReportDestination::kAsciiFile, 2);
  const std::vector<std::string> written = TextLines(TempDirectory::ReadFile(ascii));
  ASSERT_EQ(written.size(), 11U);
  EXPECT_EQ(TextLines(CommandOutput("pdftotext -layout " + dir / "report.pdf" + " -")), written);
}

TEST_F(ReportOutputWindowsTest, APrinterThatRefusesToStartSaysSoAndPrintsNothing) {
  Start({{"Title", 20}}, {{{"Blue Train"}}});
  QtPrinter refusing;
  refusing.PrintToPdf(dir / "missing/report.pdf");
  program.report.printerFont = {.name = "DejaVu Sans Mono", .size = 9};
  auto output = MakeReportOutput({program, refusing, program.report, false}, ReportDestination::kPrinter);
  EXPECT_FALSE(output->Start());
  EXPECT_THAT(ui.Texts(), ElementsAre("Printer error. Please try again.\n\nThe PDF file " + dir / "missing/report.pdf" +
                                      " could not be written. Check that its folder exists and may be written, or "
                                      "choose another file with File > Print Setup."));
  EXPECT_FALSE(refusing.PrintLine("x"));
  EXPECT_TRUE(refusing.EndDocument());
}

// The program printing on the Qt printer `pdf`, with the desktop's print dialogs.
class PrintingTest : public DesktopTest {
 protected:
  PrintingTest() {
    SetProgramDirectory(printing, dir.path());
    AttachPrintDialogs(pdf, ui);
  }
  void Open(std::initializer_list<FieldSpec> fields, const std::vector<TestEntry>& entries) {
    WriteCatalog(dir.path(), "CAT", MakeLayout(fields), entries);
    WritePrivateProfileString("Database", "CurrentDB", "CAT", printing.iniPath);
    ASSERT_TRUE(PrepareStartUp(printing));
    OpenStartCatalog(printing);
  }
  // 120 entries, two lines each with the dashed line, 60 lines a page, page numbers.
  void OpenLongList() {
    std::vector<TestEntry> entries;
    for (int n = 1; n <= 120; ++n) entries.push_back({{"Title " + std::to_string(n)}});
    Open({{"Title", 20}}, entries);
    printing.report.format.items[0] = {.Width = 20, .Row = 1, .Col = 1, .LinesPerEntry = 1};
    printing.settings.PageLength = 60;
    printing.settings.PageNumbers = 2;
    printing.settings.DashedLine = 1;
  }
  // Prints every entry with no title; false when the printer failed.
  bool Print(Printer& on) {
    auto output = MakeReportOutput({printing, on, printing.report, false}, ReportDestination::kPrinter);
    if (!output->Start()) return false;
    for (EntryNumber n = 1; n <= printing.header.Count(); ++n) {
      EntryRecord entry;
      if (!ReadEntry(printing, entry, printing.header, n, printing.entryFile)) return false;
      if (output->Send(n, entry) != EntryOutput::Sent::kMore) return false;
    }
    output->Finish(printing.header.Count());
    return true;
  }
  static std::function<void(QDialog&)> ChooseFile(const std::string& path) {
    return [path](QDialog& dialog) {
      auto& chooser = dynamic_cast<QFileDialog&>(dialog);
      chooser.selectFile(QString::fromStdString(path));
      static_cast<QDialog&>(chooser).accept();
    };
  }

  QtPrinter pdf;
  Program printing{{ui, window, sound, pdf}};
};

int PageCount(const std::string& pdfText) { return static_cast<int>(std::count(pdfText.begin(), pdfText.end(), '\f')); }

// A PDF's words with their boxes in points, by pdftotext.
struct PdfWord {
  int page = 0;
  double left = 0, top = 0, right = 0, bottom = 0;
  std::string text;
};
struct PdfWords {
  double width = 0, height = 0;  // of the pages
  std::vector<PdfWord> words;
};

PdfWords ReadWords(const std::string& path) {
  const std::string boxes = CommandOutput("pdftotext -bbox '" + path + "' -");
  const LocaleScope periods("C");  // pdftotext writes its numbers with a period under every locale
  PdfWords pdf;
  int page = 0;
  for (std::size_t at = 0; (at = boxes.find('<', at)) != std::string::npos; ++at) {
    PdfWord word;
    char text[256] = "";
    if (std::sscanf(boxes.c_str() + at, "<page width=\"%lf\" height=\"%lf\"", &pdf.width, &pdf.height) == 2) {
      ++page;
    } else if (std::sscanf(boxes.c_str() + at, "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">%255[^<]",
                           &word.left, &word.top, &word.right, &word.bottom, text) == 5) {
      word.page = page;
      word.text = text;
      pdf.words.push_back(word);
    }
  }
  return pdf;
}

TEST_F(PrintingTest, PagesColumnsAndMarginsAreTheSameInEveryFixedPitchFace) {
  if (std::system("command -v pdftotext >/dev/null") != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  OpenLongList();
  ui.script.push_back(CancelDialog());
  ASSERT_TRUE(Print(printer));
  const auto pages = std::count(printer.lines.begin(), printer.lines.end(), FakePrinter::kPageBreak) + 1;
  ASSERT_GE(pages, 4);
  std::vector<std::vector<std::string>> texts;
  for (const char* face : {"DejaVu Sans Mono", "Liberation Mono", ""}) {
    if (*face != 0 && !QFontDatabase::hasFamily(face)) GTEST_SKIP() << face << " is not installed";
    const std::string file = dir / (std::string("report ") + face + ".pdf");
    printing.report.printerFont = {.name = face, .size = *face != 0 ? 10.0 : 0.0};
    pdf.PrintToPdf(file);
    ui.script.push_back(CancelDialog());
    ASSERT_TRUE(Print(pdf));
    const std::string text = CommandOutput("pdftotext -layout '" + file + "' -");
    EXPECT_EQ(PageCount(text), pages) << face;
    texts.push_back(TextLines(text));
    const PdfWords read = ReadWords(file);
    double closest = 1e9;
    for (const PdfWord& word : read.words) {
      closest = std::min({closest, word.left, word.top, read.width - word.right, read.height - word.bottom});
    }
    // The margins' 10 mm, less the part of the font's box above its capitals.
    EXPECT_GE(closest, 25) << face;
    // Page 2 begins with its number, then the dashed line of 65 characters from column 1.
    const auto two = std::find_if(read.words.begin(), read.words.end(), [](const PdfWord& w) { return w.page == 2; });
    ASSERT_LT(two + 1, read.words.end());
    EXPECT_EQ(two->text, "2");
    const PdfWord& dashes = *(two + 1);
    EXPECT_NEAR((two->left - dashes.left) / ((dashes.right - dashes.left) / 65), kPageNumberColumn, 0.1) << face;
    // Six lines an inch: an entry and its dashed line take 24 points.
    std::vector<double> tops;
    for (const PdfWord& word : read.words) {
      if (word.page == 1 && word.text == "Title") tops.push_back(word.top);
    }
    ASSERT_GE(tops.size(), 2U);
    EXPECT_NEAR(tops[1] - tops[0], 24, 0.05) << face;
  }
  EXPECT_EQ(texts[1], texts[0]);
  EXPECT_EQ(texts[2], texts[0]);
}

// An underlined font underlines each part of a line from its own left end to its own right end, and
// not the blanks between the parts.
TEST_F(PrintingTest, AnUnderlinedFontUnderlinesEachPartOfALine) {
  if (std::system("command -v pdftoppm >/dev/null") != 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is missing";
  const std::string file = dir / "underlined.pdf";
  pdf.PrintToPdf(file);
  ASSERT_TRUE(pdf.SetFont({.name = {}, .underline = true}));
  ASSERT_TRUE(pdf.PrintLine("Second", 20, "tabbed part"));
  ASSERT_TRUE(pdf.EndDocument());
  const PdfWords read = ReadWords(file);
  ASSERT_EQ(read.words.size(), 3U);
  const PdfWord &first = read.words[0], &second = read.words[1], &last = read.words[2];
  // The page in grey at two pixels a point: the bytes after the header "P5 width height 255".
  const std::string page = CommandOutput("pdftoppm -r 144 -gray -f 1 -l 1 '" + file + "'");
  int width = 0, height = 0, header = 0;
  ASSERT_EQ(std::sscanf(page.c_str(), "P5 %d %d 255%n", &width, &height, &header), 2);
  const auto dark = [&](double x, int row) {
    return static_cast<unsigned char>(page[header + 1 + row * width + static_cast<int>(x * 2)]) < 128;
  };
  const auto line = [&](double from, double to, int row, bool ink) {
    for (double x = from; x < to; x += 0.5) {
      if (dark(x, row) != ink) return false;
    }
    return true;
  };
  // The underline: the first row inked from end to end of the first part.
  int row = static_cast<int>(first.top * 2);
  while (row < first.bottom * 2 + 4 && !line(first.left + 0.5, first.right - 0.5, row, true)) ++row;
  ASSERT_LT(row, first.bottom * 2 + 4) << "no underline under " << first.text;
  EXPECT_TRUE(line(first.right + 1, second.left - 1, row, false));
  EXPECT_TRUE(line(second.left + 0.5, last.right - 0.5, row, true));
}

TEST_F(PrintingTest, WithoutAPrinterPrintingAsksForAPdfFileSaysWhatFailedAndWorksAfterPrintSetup) {
  if (std::system("command -v pdftotext >/dev/null") != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "the system has a default printer";
  Open({{"Title", 20}}, {{{"Blue Train"}}, {{"Kind of Blue"}}, {{"Giant Steps"}}});
  // A font is chosen before any printer is.
  ReportSetup setup(ui, printing.settings);
  setup.printerFont = &printing.report.printerFont;
  ChoosePrinterFont(setup, PrinterFont{.name = "DejaVu Sans Mono", .size = 9});
  EXPECT_EQ(printing.report.printerFont.name, "DejaVu Sans Mono");

  ui.script.push_back(CancelDialog());  // the PDF file
  EXPECT_FALSE(Print(pdf));
  ui.script.push_back(ChooseFile(dir / "missing/asked.pdf"));
  EXPECT_FALSE(Print(pdf));
  EXPECT_THAT(ui.Texts(),
              ElementsAre("Printer error. Please try again.\n\nNo printer is set up and no PDF file was "
                          "chosen. Choose a printer or a PDF file with File > Print Setup, then print again.",
                          ::testing::StartsWith("Printer error. Please try again.\n\nThe PDF file ")));

  const std::string chosen = dir / "setup.pdf";
  ui.script.push_back([&chosen](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Print Setup");
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), "&Use This Printer");
    auto* printers = dialog.findChild<QComboBox*>("printers");
    ASSERT_NE(printers, nullptr);
    EXPECT_GE(printers->width(), printers->fontMetrics().horizontalAdvance(printers->currentText()) + 20);
    dialog.findChild<QLineEdit*>("filename")->setText(QString::fromStdString(chosen));
    for (QAbstractButton* button : buttons->buttons()) {
      if (button->text() == "Pre&view") button->click();
    }
  });
  ui.script.push_back(CancelDialog());  // no report title
  ui.script.push_back([](QDialog& dialog) {
    auto* pages = dialog.findChild<QPrintPreviewWidget*>();
    ASSERT_NE(pages, nullptr);
    pages->updatePreview();
    EXPECT_EQ(pages->pageCount(), 1);
    dialog.reject();
  });
  PrintSetup(printing);
  ui.messages.clear();
  ui.script.push_back(CancelDialog());  // no report title
  EXPECT_TRUE(Print(pdf));
  EXPECT_THAT(ui.Texts(), ElementsAre("Printed 3 entries.\nPDF file: " + chosen));
  EXPECT_EQ(PageCount(CommandOutput("pdftotext '" + chosen + "' -")), 1);
}

TEST_F(PrintingTest, PrintPreviewShowsThePagesOfThePrintedList) {
  if (std::system("command -v pdftotext >/dev/null") != 0) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  OpenLongList();
  pdf.PrintToPdf(dir / "list.pdf");
  ui.script.push_back(CancelDialog());
  ASSERT_TRUE(Print(pdf));
  const int printed = PageCount(CommandOutput("pdftotext '" + dir / "list.pdf" + "' -"));
  ui.script.push_back(CancelDialog());  // no report title
  int previewed = 0;
  ui.script.push_back([&previewed](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Print Preview");
    auto* pages = dialog.findChild<QPrintPreviewWidget*>();
    ASSERT_NE(pages, nullptr);
    pages->updatePreview();
    previewed = pages->pageCount();
    dialog.reject();
  });
  ui.messages.clear();
  PrintPreview(printing);
  EXPECT_EQ(previewed, printed);
  EXPECT_GE(printed, 4);
  EXPECT_TRUE(ui.Texts().empty());  // no completion message
}

}  // namespace
}  // namespace vrk::test
