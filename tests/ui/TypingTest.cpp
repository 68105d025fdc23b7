// Typing into the entry boxes: Enter, overtype, the length limit and characters outside code page 1252.
#include <QApplication>
#include <QPushButton>
#include <QtTest/QTest>

#include "Desktop.h"
#include "ui/EntryBox.h"

namespace vrk::test {
namespace {

using TypingTest = DesktopTest;

TEST_F(TypingTest, EnterMovesToTheNextVisibleBoxAndWrapsAround) {
  Start({{"Artist", 20}, {"Title", 20}, {"Unused", 0}, {"Year", 4}});
  Type(0, "Nightjar");
  Key(0, Qt::Key_Return);
  EXPECT_TRUE(window.txtFieldData[1]->hasFocus());
  EXPECT_EQ(Box(0), "Nightjar");  // Enter itself is not typed
  Key(1, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_TRUE(window.txtFieldData[3]->hasFocus());
  Key(3, Qt::Key_Return);
  EXPECT_TRUE(window.txtFieldData[0]->hasFocus());
  EXPECT_EQ(program.currentField, 0);
}

TEST_F(TypingTest, EnterStaysInTheOnlyBox) {
  Start({{"Title", 20}});
  Type(0, "x");
  Key(0, Qt::Key_Return);
  EXPECT_TRUE(window.txtFieldData[0]->hasFocus());
}

TEST_F(TypingTest, InsertSwitchesToOvertypeWhereTypingReplacesCharacters) {
  Start({{"Title", 12}, {"Label", 12}});
  EntryBox* box = window.txtFieldData[0];
  Type(0, "abcdef");
  Key(0, Qt::Key_Home);
  Key(0, Qt::Key_Right);
  Key(0, Qt::Key_Insert);
  EXPECT_FALSE(program.insertMode);
  EXPECT_TRUE(window.txtFieldData[1]->Overtype());  // the mode is the same for every box
  EXPECT_EQ(box->selectedText(), "b");
  QTest::keyClicks(box, "XY");
  EXPECT_EQ(Box(0), "aXYdef");
  EXPECT_EQ(box->selectedText(), "d");

  // Backspace deletes the character before the caret, not the selected one.
  Key(0, Qt::Key_Backspace);
  EXPECT_EQ(Box(0), "aXdef");
  EXPECT_EQ(box->selectedText(), "d");
  Key(0, Qt::Key_End);
  EXPECT_FALSE(box->hasSelectedText());
  QTest::keyClicks(box, "g");
  EXPECT_EQ(Box(0), "aXdefg");
  Key(0, Qt::Key_Left);
  EXPECT_EQ(box->selectedText(), "g");

  Key(0, Qt::Key_Insert);
  EXPECT_TRUE(program.insertMode);
  EXPECT_FALSE(box->hasSelectedText());
  QTest::keyClicks(box, "Z");
  EXPECT_EQ(Box(0), "aXdefZg");
}

TEST_F(TypingTest, ShiftInsertPastesWithoutSwitchingTheMode) {
  Start({{"Title", 12}});
  Key(0, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_TRUE(program.insertMode);
}

TEST_F(TypingTest, ABoxTakesNoMoreThanItsFieldLength) {
  Start({{"Year", 4}, {"Title", 10}});
  Type(0, "197712");
  EXPECT_EQ(Box(0), "1977");
  Key(0, Qt::Key_Home);
  Key(0, Qt::Key_Insert);
  QTest::keyClicks(window.txtFieldData[0], "20");  // overtype works in a full box
  EXPECT_EQ(Box(0), "2077");
}

TEST_F(TypingTest, ACharacterCodePage1252CannotHoldIsSavedAsAQuestionMark) {
  Start({{"Artist", 20}});
  Type(0, QString::fromUtf8("Zoë éЖx"));
  EXPECT_EQ(Box(0), QString::fromUtf8("Zoë é?x"));
  window.cmdSave->click();
  EXPECT_EQ(Stored().entries[0].Field[0], "Zo\xEB \xE9?x             ");
}

TEST_F(TypingTest, TextFromTheCatalogIsShownInItsOwnLetters) {
  Start({{"Artist", 20}}, {{{"Se\xF1ora Luna"}}});
  window.cmdPrevious->click();
  EXPECT_EQ(Box(0), QString::fromUtf8("Señora Luna"));
}

}  // namespace
}  // namespace vrk::test
