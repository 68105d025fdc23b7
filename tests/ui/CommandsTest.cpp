// The browsing and editing commands driven through the main window's buttons, menus and keys.
#include <QAction>
#include <QApplication>
#include <QPushButton>

#include "Desktop.h"
#include "fakes/Locale.h"
#include "ui/EntryBox.h"
#include "ui/Text.h"
#include "ui/frmBldIndex.h"
#include "ui/frmEnterNumber.h"
#include "ui/frmGauge.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QtTest/QTest>

namespace vrk::test {
namespace {

using ::testing::ElementsAre;

const std::initializer_list<FieldSpec> kRecords = {{"Artist", 20, kKeyField},
                                                   {"Title", 24},
                                                   {"Price", 8, kSumField},
                                                   {"Copies", 3, kSumField},
                                                   {"Value", 10, kSumField, "C*D"}};
const std::vector<TestEntry> kThree = {
    {{"Amber Kestrel", "Open Roads", "12.50", "2"}},
    {{"Otto Varga", "Winter Rooms", "8", "1"}},
    {{"Paper Moons", "Late Tides", "20", "3"}},
};

using BrowsingTest = DesktopTest;

TEST_F(BrowsingTest, AnEmptyCatalogHasNeitherStartNorEnd) {
  Start(kRecords);
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 1");
  window.cmdPrevious->click();
  window.cmdNext->click();
  EXPECT_THAT(ui.events, ElementsAre("beep", "message: Start of List", "beep", "message: End of List"));
  EXPECT_EQ(ui.messages[0].title, "VRK");
  EXPECT_EQ(ui.messages[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 1");
}

TEST_F(BrowsingTest, PreviousAfterEraseScreenShowsTheLastEntry) {
  Start(kRecords, kThree);
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 4");
  EXPECT_EQ(Panel(Panel::SearchMode), "Make Entries");
  window.cmdPrevious->click();
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 3");
  EXPECT_EQ(Panel(Panel::SearchMode), "Edit");
  EXPECT_EQ(Box(0), "Paper Moons");
  EXPECT_EQ(Box(4), "60");  // computed: Price × Copies
  window.cmdNext->click();
  EXPECT_THAT(ui.Texts(), ElementsAre("End of List"));
  EXPECT_EQ(Box(0), "Paper Moons");

  window.mnuVPrevious->trigger();
  window.mnuVPrevious->trigger();
  EXPECT_EQ(Box(1), "Open Roads");
  window.mnuVPrevious->trigger();
  EXPECT_THAT(ui.Texts(), ElementsAre("End of List", "Start of List"));
  window.mnuVNext->trigger();
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 2");
  EXPECT_EQ(Box(0), "Otto Varga");

  window.cmdClear->click();
  EXPECT_EQ(Box(0), "");
  EXPECT_EQ(Panel(Panel::SearchMode), "Make Entries");
  window.cmdPrevious->click();
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 3");
  EXPECT_EQ(Box(0), "Paper Moons");
}

TEST_F(BrowsingTest, SelectNumberAsksAndRefusesNumbersOutOfRange) {
  Start(kRecords, kThree);
  ui.script = {AnswerNumber("2"), AnswerNumber("4"), AnswerNumber("0"), CancelDialog()};
  window.mnuVSelNumber->trigger();
  EXPECT_EQ(ui.dialogTitles.back(), "Select Number");
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 2");
  EXPECT_EQ(Panel(Panel::SearchMode), "Edit");
  EXPECT_EQ(Box(1), "Winter Rooms");
  window.mnuVSelNumber->trigger();
  window.mnuVSelNumber->trigger();
  window.mnuVSelNumber->trigger();
  EXPECT_THAT(ui.Texts(), ElementsAre("Entry number is out of range.", "Entry number is out of range."));
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 2");
  EXPECT_EQ(ui.dialogCancel, -1);
}

TEST_F(BrowsingTest, TheNumberPromptRefusesABlankAndAnythingButDigits) {
  Start(kRecords, kThree);
  ui.script = {[](QDialog& dialog) {
    auto& prompt = dynamic_cast<frmEnterNumber&>(dialog);
    EXPECT_EQ(prompt.lblUserAction->text(), "Enter the number of the entry you wish to display.");
    prompt.cmdOK->click();  // blank: refused, the prompt stays
    EXPECT_TRUE(prompt.isVisible());
    QTest::keyClicks(prompt.txtNumber, "-1.5 3");
    EXPECT_EQ(prompt.txtNumber->text(), "153");
    prompt.cmdOK->click();
  }};
  window.mnuVSelNumber->trigger();
  EXPECT_THAT(ui.events, ElementsAre("message: Number cannot be blank.", "beep", "beep", "beep",
                                     "message: Entry number is out of range."));
}

using EditingTest = DesktopTest;

TEST_F(EditingTest, SavingANewEntryStoresItAndErasesTheScreen) {
  Start(kRecords);
  bool savingShown = false;
  ui.onEvents = [&] {
    if (const frmBldIndex* saving = window.SavingWindow()) {
      savingShown = saving->isVisible() && saving->windowTitle() == "Saving..." && saving->lblRecNum->text() == "1";
    }
  };
  Type(0, "Greta Holm");
  Type(1, "Summer Bridges");
  Type(2, "9.99");
  Type(3, "2");
  Type(4, "123");  // computed: typing does nothing
  window.cmdSave->click();
  EXPECT_TRUE(savingShown);
  EXPECT_EQ(window.SavingWindow(), nullptr);
  EXPECT_TRUE(ui.messages.empty());

  const CatalogOnDisk stored = Stored();
  EXPECT_EQ(stored.header.Count(), 1);
  const EntryRecord entry = stored.entries[0];
  EXPECT_EQ(entry.Status, kStatusActive);
  EXPECT_EQ(entry.Field[0], "Greta Holm          ");
  EXPECT_EQ(entry.Field[1], "Summer Bridges          ");
  EXPECT_EQ(entry.Field[3], "2  ");
  EXPECT_EQ(entry.Field[4], "          ");

  EXPECT_EQ(Panel(Panel::Entry), "Entry # 2");
  EXPECT_EQ(Panel(Panel::SearchMode), "Make Entries");
  EXPECT_EQ(Box(0), "");
  QApplication::processEvents();  // the window system hands the focus back
  EXPECT_TRUE(window.txtFieldData[0]->hasFocus());
}

TEST_F(EditingTest, SavingAnExistingEntryRewritesItAndShowsTheNewComputedValue) {
  Start(kRecords, kThree);
  window.cmdPrevious->click();
  window.cmdPrevious->click();
  window.txtFieldData[3]->clear();
  Type(3, "5");
  window.mnuESaveEntry->trigger();
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 2");
  EXPECT_EQ(Box(4), "40");
  const CatalogOnDisk stored = Stored();
  EXPECT_EQ(stored.header.Count(), 3);
  EXPECT_EQ(stored.entries[1].Field[3], "5  ");
  EXPECT_EQ(stored.entries[1].Field[0], "Otto Varga          ");
}

TEST_F(EditingTest, DeleteUndeleteAndDeleteAgain) {
  Start(kRecords, kThree);
  window.cmdPrevious->click();
  window.cmdDelete->click();
  EXPECT_EQ(Panel(Panel::Deleted), "DELETED");
  EXPECT_EQ(Stored().entries[2].Status, kStatusDeleted);
  window.mnuEUndeleteEntry->trigger();
  EXPECT_EQ(Panel(Panel::Deleted), "");
  EXPECT_EQ(Stored().entries[2].Status, kStatusActive);

  // Deleting a deleted entry saves the screen as an active entry.
  window.cmdDelete->click();
  window.txtFieldData[1]->clear();
  Type(1, "Late Tides (Live)");
  window.mnuEDeleteEntry->trigger();
  EXPECT_EQ(Panel(Panel::Deleted), "");
  const CatalogOnDisk stored = Stored();
  EXPECT_EQ(stored.entries[2].Status, kStatusActive);
  EXPECT_EQ(stored.entries[2].Field[1], "Late Tides (Live)       ");
  EXPECT_EQ(stored.header.Count(), 3);
}

TEST_F(EditingTest, UndoAndRedoSayWhatTheyDoAndRunFromTheKeysInABox) {
  Start(kRecords, kThree);
  EXPECT_FALSE(window.mnuEUndo->isEnabled());
  window.cmdPrevious->click();
  window.cmdDelete->click();
  EXPECT_EQ(window.mnuEUndo->text(), "U&ndo Delete");
  EXPECT_EQ(window.mnuEUndo->shortcut(), QKeySequence("Ctrl+Z"));
  Key(0, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Stored().entries[2].Status, kStatusActive);
  EXPECT_EQ(Panel(Panel::Deleted), "");
  EXPECT_EQ(window.mnuERedo->text(), "Red&o Delete");
  EXPECT_EQ(window.mnuERedo->shortcut(), QKeySequence("Ctrl+Shift+Z"));
  Key(0, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Stored().entries[2].Status, kStatusDeleted);
  EXPECT_FALSE(window.mnuERedo->isEnabled());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(EditingTest, CopyLastDoesNothingOnEntryOneAndCopiesTheLastEntryOntoANewOne) {
  Start(kRecords, kThree);
  ui.script = {AnswerNumber("1")};
  window.mnuVSelNumber->trigger();
  window.cmdCopyLast->click();
  EXPECT_EQ(Box(0), "Amber Kestrel");
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 1");

  window.cmdClear->click();
  window.cmdCopyLast->click();
  EXPECT_EQ(Box(0), "Paper Moons");
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 4");
  window.cmdSave->click();
  const CatalogOnDisk stored = Stored();
  EXPECT_EQ(stored.header.Count(), 4);
  EXPECT_EQ(stored.entries[3].Field[1], "Late Tides              ");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(EditingTest, CopyAnyPreviousAsksForTheEntryToCopy) {
  Start(kRecords, kThree);
  ui.script = {AnswerNumber("2"), AnswerNumber("7")};
  window.mnuECopyPrev->trigger();
  EXPECT_EQ(ui.dialogTitles.back(), "Copy Any Previous");
  EXPECT_EQ(Box(1), "Winter Rooms");
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 4");
  window.mnuECopyPrev->trigger();
  EXPECT_THAT(ui.Texts(), ElementsAre("Entry number is out of range."));
  EXPECT_EQ(Box(1), "Winter Rooms");
}

TEST_F(EditingTest, CtrlF3CopiesOnlyTheFocusedFieldFromThePreviousEntry) {
  Start(kRecords, kThree);
  Type(0, "New Artist");
  window.txtFieldData[1]->setFocus();
  Key(1, Qt::Key_F3, Qt::ControlModifier);
  EXPECT_EQ(Box(1), "Late Tides");
  EXPECT_EQ(Box(0), "New Artist");
  EXPECT_EQ(Box(2), "");

  ui.script = {AnswerNumber("1")};
  window.mnuVSelNumber->trigger();
  window.txtFieldData[0]->setFocus();
  Key(0, Qt::Key_F3, Qt::ControlModifier);
  EXPECT_EQ(Box(0), "Amber Kestrel");
}

TEST_F(EditingTest, TotalsShowEachSumFieldOnItsOwnLine) {
  Start(kRecords, kThree);
  window.mnuVTotals->trigger();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "VRK");
  EXPECT_EQ(ui.messages[0].icon, QMessageBox::NoIcon);
  // The Standard format of the locale the tests run in (Qt sets the user's locale).
  const auto line = [](const char* name, const char* total) {
    return ToQString(PadFieldName(name) + "\t\t:\t" + Standard(total) + "\n");
  };
  EXPECT_EQ(ui.messages[0].text,
            "\n\nTOTALS:\n\n" + line("Price", "40.50") + line("Copies", "6.00") + line("Value", "93.00"));
}

// The user's case: under a decimal-comma locale a price of 2.50 is 2.5 in the computed field and in
// the totals, and Totals shows them in the locale's Standard format instead of ending the program.
TEST_F(EditingTest, DecimalCommaLocaleComputesAndTotalsWithThePeriod) {
  const LocaleScope german("de_DE.UTF-8");
  if (!german.Selected()) GTEST_SKIP() << "the locale de_DE.UTF-8 is missing";
  Start(kRecords, {{{"Amber Kestrel", "Open Roads", "2.50", "4"}}, {{"Otto Varga", "Winter Rooms", "1234.5", "1"}}});
  window.cmdPrevious->click();
  EXPECT_EQ(Box(4), "1234.5");
  window.cmdPrevious->click();
  EXPECT_EQ(Box(2), "2.50");
  EXPECT_EQ(Box(4), "10");  // computed: Price × Copies
  window.mnuVTotals->trigger();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "\n\nTOTALS:\n\n"
            "Price         \t\t:\t1.237,00\n"
            "Copies        \t\t:\t5,00\n"
            "Value         \t\t:\t1.244,50\n");
  EXPECT_TRUE(window.centralWidget()->isEnabled());
}

TEST_F(EditingTest, CancellingTheTotalsGaugeShowsNoTotals) {
  const std::vector<TestEntry> many(300, TestEntry{{"A", "B", "1", "1"}});
  Start(kRecords, many);
  bool gaugeSeen = false;
  ui.onEvents = [&] {
    frmGauge* gauge = ui.GaugeWindow();
    if (gauge == nullptr || gauge->Gauge1->value() < 1 || gaugeSeen) return;  // under way
    gaugeSeen = true;
    EXPECT_EQ(gauge->lblMessage->text(), "TOTALING ENTRIES....");
    EXPECT_FALSE(window.centralWidget()->isEnabled());
    EXPECT_TRUE(gauge->cmdCancel->isEnabled());
    gauge->cmdCancel->click();
  };
  window.mnuVTotals->trigger();
  EXPECT_TRUE(gaugeSeen);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.GaugeWindow(), nullptr);
  EXPECT_TRUE(window.centralWidget()->isEnabled());
}

TEST_F(EditingTest, ACommandAskedForWhileAnotherRunsIsIgnored) {
  Start(kRecords);
  int saves = 0;
  Type(0, "Once");
  ui.onEvents = [&] {
    if (window.SavingWindow() != nullptr && saves++ == 0) window.cmdSave->click();  // pressed again mid-save
  };
  window.cmdSave->click();
  const CatalogOnDisk stored = Stored();
  EXPECT_EQ(stored.header.Count(), 1);
  EXPECT_EQ(stored.entries.size(), 1u);
}

TEST_F(EditingTest, ReIndexRunsWithTheGaugeAndSaysSoWhenCancelled) {
  const std::vector<TestEntry> many(300, TestEntry{{"A", "B", "1", "1"}});
  Start(kRecords, many);
  window.mnuUReIndex->trigger();  // to its end: nothing to say
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(Panel(Panel::SearchMode), "Make Entries");

  ui.onEvents = [&] {
    frmGauge* gauge = ui.GaugeWindow();
    if (gauge == nullptr || gauge->Gauge1->value() < 1) return;
    EXPECT_EQ(gauge->lblMessage->text(), "Building Indexes....");
    gauge->cmdCancel->click();
  };
  window.mnuUReIndex->trigger();
  EXPECT_THAT(ui.Texts(), ElementsAre("Indexing aborted. Index files have been deleted."));
  EXPECT_TRUE(window.centralWidget()->isEnabled());
  EXPECT_EQ(ui.GaugeWindow(), nullptr);
}

TEST_F(EditingTest, EscapeCancelsAReIndexBeforeItsGaugeShows) {
  const std::vector<TestEntry> many(300, TestEntry{{"A", "B", "1", "1"}});
  Start(kRecords, many);
  ui.gaugeDelay = std::chrono::hours(1);
  bool pressed = false;
  ui.onEvents = [&] {
    frmGauge* gauge = ui.GaugeWindow();
    if (gauge == nullptr || gauge->Gauge1->value() < 1 || pressed) return;
    pressed = true;
    EXPECT_FALSE(gauge->isVisible());
    EXPECT_FALSE(window.centralWidget()->isEnabled());
    QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
  };
  window.mnuUReIndex->trigger();
  EXPECT_TRUE(pressed);
  EXPECT_THAT(ui.Texts(), ElementsAre("Indexing aborted. Index files have been deleted."));
}

}  // namespace
}  // namespace vrk::test
