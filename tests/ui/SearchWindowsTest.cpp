// The windows of the View menu's searches, lists and Search and Replace, driven as a user drives them.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>

#include "Desktop.h"
#include "catalog/Catalog.h"
#include "shell/Settings.h"
#include "ui/frmCriteria.h"
#include "ui/frmEnterName.h"
#include "ui/frmGlobalSearch.h"
#include "ui/frmListRange.h"
#include "ui/frmReplace.h"
#include "ui/frmSearch.h"

namespace vrk::test {
namespace {

using ::testing::ElementsAre;

const std::initializer_list<FieldSpec> kMusic = {{"Artist", 20, kKeyField}, {"Unused", 0}, {"Format", 6}};
const std::vector<TestEntry> kTwo = {{{"Lomax", "", "Lp"}}, {{"Carter", "", "lp"}}};

using SearchWindowsTest = DesktopTest;

// Queues a script for a window of type Window.
template <typename Window>
void Script(RecordingUi& ui, std::function<void(Window&)> act) {
  ui.script.push_back([act](QDialog& dialog) {
    QApplication::setActiveWindow(&dialog);
    act(dynamic_cast<Window&>(dialog));
  });
}

TEST_F(SearchWindowsTest, SearchAndReplaceChecksItsBoxesThenReplacesAndErasesTheScreen) {
  Start(kMusic, kTwo);
  window.cmdPrevious->click();
  Script<frmReplace>(ui, [&](frmReplace& replace) {
    EXPECT_EQ(replace.windowTitle(), "Search and Replace");
    EXPECT_EQ(replace.txtStartRec->text(), "1");
    EXPECT_EQ(replace.cboFields->count(), 2);  // Artist and Format: the unused field has no item
    replace.optGlobal->click();
    EXPECT_FALSE(replace.cboFields->isEnabled());
    replace.optField->click();
    replace.cmdOK->click();  // no search text
    EXPECT_TRUE(replace.txtSearchString->hasFocus());
    QTest::keyClicks(replace.txtSearchString, "lp");
    QTest::keyClicks(replace.txtReplaceString, "LP");
    replace.txtStartRec->clear();
    QTest::keyClicks(replace.txtStartRec, "9x");
    replace.cmdOK->click();
    EXPECT_EQ(replace.txtStartRec->text(), "2");
    replace.cboFields->setCurrentIndex(1);
    replace.cmdOK->click();
  });
  window.mnuVReplace->trigger();
  EXPECT_THAT(ui.events,
              ElementsAre("message: No Search Text Specified", "beep", "message: Starting Record is too large!"));
  EXPECT_EQ(Stored().entries[0].Field[2], "Lp    ");  // before the starting record
  EXPECT_EQ(Stored().entries[1].Field[2], "LP    ");
  EXPECT_EQ(Panel(Panel::SearchMode), "Make Entries");
}

const std::initializer_list<FieldSpec> kKeys = {{"Artist", 20, kKeyField}, {"Title", 20, kKeyField}, {"Format", 6}};
const std::vector<TestEntry> kThree = {
    {{"Lomax", "Blues", "Lp"}}, {{"Carter", "Wildwood", "Lp"}}, {{"lowe", "Dawn", "Cd"}}};

bool Red(const frmSearch& search, std::size_t line) {
  return search.lblFieldName[line]->palette().color(QPalette::WindowText) == QColor(255, 0, 0) &&
         search.txtFieldData[line]->palette().color(QPalette::Base) == QColor(255, 0, 0);
}

TEST_F(SearchWindowsTest, SearchHighlightsTheKeyFieldLineAndAsksWhenItHasNoText) {
  Start(kKeys, kThree);
  Script<frmSearch>(ui, [&](frmSearch& search) {
    EXPECT_TRUE(search.optSequential->isChecked());
    EXPECT_FALSE(search.cboKeyFields->isEnabled());
    EXPECT_FALSE(Red(search, 0));
    EXPECT_EQ(search.txtFieldData[2]->palette().color(QPalette::Base), QColor(192, 192, 192));
    EXPECT_TRUE(search.lblFieldName[3]->isHidden());  // a field of length 0
    search.optAlpha->click();
    EXPECT_TRUE(Red(search, 0));
    EXPECT_FALSE(search.chkCaseSense->isEnabled());
    search.cboKeyFields->setCurrentIndex(1);
    EXPECT_FALSE(Red(search, 0));
    EXPECT_TRUE(Red(search, 1));
    search.cboKeyFields->setCurrentIndex(0);
    Script<frmCriteria>(ui, [](frmCriteria& criteria) {
      EXPECT_EQ(criteria.windowTitle(), "Setup Alpha Starting Point");
      EXPECT_EQ(criteria.txtFieldData.size(), 21u);
      criteria.cmdCancel->click();
    });
    search.cmdSetStart->click();
    QTest::keyClicks(search.txtFieldData[2], "Lp");
    search.cmdOK->click();  // answered No: the window stays open, still alphabetical
    EXPECT_TRUE(search.isVisible());
    EXPECT_TRUE(search.optAlpha->isChecked());
    search.cmdOK->click();  // answered Yes
  });
  ui.buttons = {QMessageBox::No, QMessageBox::Yes};
  window.mnuVSearch->trigger();
  ASSERT_EQ(ui.Texts().size(), 2u);
  EXPECT_EQ(ui.Texts()[0],
            "There is no search text in the Key Field.\nThis will search the entire catalog and may take awhile.\n\nDo "
            "you want continue the search anyway?");
  EXPECT_EQ(ui.messages[0].icon, QMessageBox::Question);
  EXPECT_EQ(Box(0), "Carter");  // the first key, with Lp in its format
  EXPECT_EQ(Panel(Panel::SearchMode), "Alpha Search");
  EXPECT_EQ(ReadSearchMode(program), SearchMode::kAlphabetical);
}

TEST_F(SearchWindowsTest, ListRangeChecksItsNumbersInOrderAndCorrectsTheEnd) {
  Start(kKeys, kThree);
  Script<frmListRange>(ui, [&](frmListRange& range) {
    range.cmdOK->click();
    QTest::keyClicks(range.txtStartRec, "0");
    QTest::keyClicks(range.txtEndRec, "9");
    range.cmdOK->click();
    range.txtStartRec->setText("4");
    range.txtEndRec->setText("3");
    range.cmdOK->click();
    EXPECT_TRUE(range.txtEndRec->hasFocus());
    range.txtStartRec->setText("2");
    range.txtEndRec->setText("9");
    range.cmdOK->click();
    EXPECT_EQ(range.txtEndRec->text(), "3");
    range.cmdOK->click();
  });
  window.mnuVListRange->trigger();
  EXPECT_THAT(ui.Texts(), ElementsAre("Invalid Start #", "Start # must be greater than 0",
                                      "End # must be greater than or equal to Start #",
                                      "End # must not be greater than the number on entries."));
  EXPECT_EQ(Box(0), "Carter");
  EXPECT_EQ(Panel(Panel::SearchMode), "Seq List");
}

TEST_F(SearchWindowsTest, SpeedSearchLandsOnTheFirstKeyStartingWithTheText) {
  Start(kKeys, kThree);
  EXPECT_EQ(window.mnuVSpeed1->text(), "Search for Artist");
  EXPECT_EQ(window.mnuVSpeed2->text(), "Search for Title");
  EXPECT_FALSE(window.mnuVSpeed3->isVisible());
  Script<frmEnterName>(ui, [](frmEnterName& prompt) {
    EXPECT_EQ(prompt.windowTitle(), "Search for Artist");
    EXPECT_EQ(prompt.lblUserAction->text(), "Enter search criteria");
    EXPECT_EQ(prompt.txtName->maxLength(), 20);
    QTest::keyClicks(prompt.txtName, "LO");
    prompt.cmdOK->click();
  });
  window.mnuVSpeed1->trigger();
  EXPECT_EQ(Box(0), "Lomax");
  EXPECT_EQ(Panel(Panel::SearchMode), "Alpha Search");
  window.cmdNext->click();
  EXPECT_EQ(Box(0), "lowe");
}

TEST_F(SearchWindowsTest, CaseSensitiveIsSavedWhenClickedEvenIfTheWindowIsCancelled) {
  Start(kKeys, kThree);
  Script<frmGlobalSearch>(ui, [](frmGlobalSearch& global) {
    EXPECT_FALSE(global.chkCaseSense->isChecked());
    global.cmdOK->click();  // no text
    global.chkCaseSense->click();
    global.cmdCancel->click();
  });
  window.mnuVGlobalSearch->trigger();
  EXPECT_THAT(ui.Texts(), ElementsAre("No Search Text Specified"));
  EXPECT_TRUE(program.caseSensitive);
  CatalogSettings stored;
  ReadSettings(program, "CAT", stored);
  EXPECT_EQ(stored.CaseInsensitive, 0);
}

TEST_F(SearchWindowsTest, ListAlphabeticallyNeedsAKeyField) {
  Start({{"Title", 20}}, {{{"Dawn"}}});
  window.mnuVListAlpha->trigger();
  EXPECT_THAT(ui.events,
              ElementsAre("beep", "message: You must define at least on index field to list alphabetically."));
}

TEST_F(SearchWindowsTest, AlphaAndSequentialOpenSearchInTheirOrder) {
  Start(kKeys, kThree);
  Script<frmSearch>(ui, [](frmSearch& search) {
    EXPECT_TRUE(search.optAlpha->isChecked());
    search.cmdCancel->click();
  });
  window.cmdAlpha->click();
  Script<frmSearch>(ui, [](frmSearch& search) {
    EXPECT_TRUE(search.optSequential->isChecked());
    search.cmdCancel->click();
  });
  window.cmdSequential->click();
  EXPECT_TRUE(ui.Texts().empty());
}

}  // namespace
}  // namespace vrk::test
