// Typing into the entry boxes: Enter, overtype, the length limit and characters the catalog cannot hold.
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QSet>
#include <QStyleHints>
#include <QtMath>
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

// The colours the box shows over a rectangle, as a set of RGB values.
QSet<QRgb> Colours(EntryBox& box, const QRect& area) {
  const QImage picture = box.grab().toImage();
  QSet<QRgb> colours;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) colours.insert(picture.pixel(x, y) & 0xFFFFFF);
  }
  return colours;
}

QRgb Rgb(const EntryBox& box, QPalette::ColorRole role) { return box.palette().color(role).rgb() & 0xFFFFFF; }

TEST_F(TypingTest, TheCaretIsASolidBarInInsertModeAndABlockInOvertypeMode) {
  Start({{"Title", 12}, {"Label", 12}});
  EntryBox* box = window.txtFieldData[0];
  box->setFocus();
  const int lineHeight = QFontMetrics(box->font()).height();
  const int charWidth = qCeil(QFontMetricsF(box->font()).horizontalAdvance(QLatin1Char('W')));
  const QSet<QRgb> solid = {Rgb(*box, QPalette::Text)};

  // Insert mode, empty box: a bar a quarter of the line's height wide (4 × 16 pixels for a 16-pixel line).
  QRect caret = box->CaretRect();
  EXPECT_TRUE(box->CaretShown());
  EXPECT_EQ(caret.height(), lineHeight);
  EXPECT_EQ(caret.width(), std::max(2, qRound(lineHeight / 4.0)));
  EXPECT_EQ(Colours(*box, caret), solid);
  EXPECT_EQ(Colours(*box, caret.translated(caret.width() + 1, 0)), QSet<QRgb>{Rgb(*box, QPalette::Base)});

  // Overtype mode, empty box and the end of the text: a block one character wide.
  Key(0, Qt::Key_Insert);
  caret = box->CaretRect();
  EXPECT_EQ(caret.width(), charWidth);
  EXPECT_EQ(caret.height(), lineHeight);
  EXPECT_EQ(Colours(*box, caret), solid);
  Type(0, "abc");
  caret = box->CaretRect();
  EXPECT_EQ(caret.width(), charWidth);
  EXPECT_EQ(Colours(*box, caret), solid);

  // On a character: the block with the character showing through it, the selection not highlighted.
  Key(0, Qt::Key_Left);
  EXPECT_EQ(box->selectedText(), "c");
  caret = box->CaretRect();
  EXPECT_EQ(caret.width(), charWidth);
  EXPECT_TRUE(Colours(*box, caret).contains(Rgb(*box, QPalette::Text)));
  EXPECT_GT(Colours(*box, caret).size(), 1);  // the character's lighter pixels
  const QRgb highlight = window.palette().color(QPalette::Highlight).rgb() & 0xFFFFFF;
  EXPECT_FALSE(Colours(*box, box->rect()).contains(highlight));

  // Any longer selection is highlighted as ever.
  box->setSelection(0, 2);
  EXPECT_EQ(box->selectedText(), "ab");
  EXPECT_TRUE(Colours(*box, box->rect()).contains(highlight));

  // Without the focus there is no caret.
  window.txtFieldData[1]->setFocus();
  EXPECT_TRUE(box->CaretRect().isEmpty());
  EXPECT_FALSE(box->CaretShown());
}

TEST_F(TypingTest, TheCaretBlinksAndShowsAtOnceAfterEveryKey) {
  Start({{"Title", 12}});
  QStyleHints* hints = QGuiApplication::styleHints();
  const int flash = hints->cursorFlashTime();
  hints->setCursorFlashTime(120);  // 60 ms on, 60 ms off
  Type(0, "ab");
  EntryBox* box = window.txtFieldData[0];
  EXPECT_TRUE(box->CaretShown());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !box->CaretShown(); }, 1000));
  EXPECT_FALSE(box->CaretRect().isEmpty());  // hidden for a moment, still there
  Key(0, Qt::Key_Left);
  EXPECT_TRUE(box->CaretShown());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !box->CaretShown(); }, 1000));
  Type(0, "c");
  EXPECT_TRUE(box->CaretShown());
  hints->setCursorFlashTime(flash);
}

TEST_F(TypingTest, TheCaretStandsWhereTheLineEditPutsItsText) {
  Start({{"Title", 12}});
  EntryBox* box = window.txtFieldData[0];
  Type(0, "WWWWWW");
  // In insert mode a selection of the third character, made from the left, is highlighted as in any
  // line edit, with the caret on its right.
  box->setSelection(2, 1);
  const QRect caret = box->CaretRect();
  const QImage picture = box->grab().toImage();
  const QRgb highlight = Rgb(*box, QPalette::Highlight);
  const int y = caret.top();  // above the letters
  int left = -1;
  for (int x = 0; x < picture.width() && left < 0; ++x) {
    if ((picture.pixel(x, y) & 0xFFFFFF) == highlight) left = x;
  }
  ASSERT_GE(left, 0);
  const QFontMetricsF metrics(box->font());
  const int width = qRound(metrics.horizontalAdvance("WWW")) - qRound(metrics.horizontalAdvance("WW"));
  EXPECT_LE(std::abs(caret.left() - (left + width)), 1);
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

// The entry file keeps code page 437: Ж (in neither code page) and € (in 1252 only) are refused as
// keys with a beep, and a paste that holds one with a message, leaving the text as it was.
TEST_F(TypingTest, ACharacterTheCatalogCannotHoldIsRefused) {
  Start({{"Artist", 20}});
  Type(0, QString::fromUtf8("Zoë éЖ€x"));
  EXPECT_EQ(Box(0), QString::fromUtf8("Zoë éx"));
  EXPECT_EQ(ui.events, (std::vector<std::string>{"beep", "beep"}));
  QGuiApplication::clipboard()->setText(QString::fromUtf8("5 €"));
  window.txtFieldData[0]->paste();
  EXPECT_EQ(Box(0), QString::fromUtf8("Zoë éx"));
  EXPECT_EQ(ui.events.back(), "message: The text holds a character the catalog cannot keep. It was not pasted.");
  QGuiApplication::clipboard()->setText(QString::fromUtf8(" ñ"));
  window.txtFieldData[0]->paste();
  window.cmdSave->click();
  EXPECT_EQ(Stored().entries[0].Field[0], "Zo\xEB \xE9x \xF1            ");
}

TEST_F(TypingTest, TextFromTheCatalogIsShownInItsOwnLetters) {
  Start({{"Artist", 20}}, {{{"Se\xF1ora Luna"}}});
  window.cmdPrevious->click();
  EXPECT_EQ(Box(0), QString::fromUtf8("Señora Luna"));
}

}  // namespace
}  // namespace vrk::test
