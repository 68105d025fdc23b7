// The windows of the View menu's searches, lists and Search and Replace, driven as a user drives them.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>

#include "Desktop.h"
#include "ui/frmReplace.h"

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

}  // namespace
}  // namespace vrk::test
