// Memos, pictures and macros on the desktop: the keys of the entry boxes, the picture window and the
// thumbnail beside the entry.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "Desktop.h"
#include "catalog/Memo.h"
#include "shell/DemoMedia.h"
#include "shell/PictureSound.h"
#include "shell/TextMacros.h"
#include "ui/EntryBox.h"
#include "ui/Pictures.h"
#include "ui/frmEditMacro.h"
#include "ui/frmMemo.h"
#include "ui/frmPicSound.h"

namespace vrk::test {
namespace {

using MediaWindowsTest = DesktopTest;

TEST_F(MediaWindowsTest, AltWithADigitOrLetterTypesItsMacroAndTheMenuLettersOpenMenus) {
  Start({{"Title", 40}, {"Label", 10}});
  ui.script = {[](QDialog& dialog) {
    auto& edit = dynamic_cast<frmEditMacro&>(dialog);
    EXPECT_EQ(edit.cboKeys->count(), kMacroKeys);
    EXPECT_EQ(edit.cboKeys->itemText(14), "Alt + G");
    edit.txtMacroText->setText("Long playing {record} +^%~");
    edit.cmdSave->click();
    edit.cboKeys->setCurrentIndex(28);
    edit.txtMacroText->setText("Z");
    edit.cmdSave->click();
    edit.cmdOK->click();
  }};
  window.mnuUSetupMacro->trigger();
  Type(0, "A ");
  Key(0, Qt::Key_1, Qt::AltModifier);
  Key(0, Qt::Key_Z, Qt::AltModifier);
  EXPECT_EQ(TypedMacro(program.macros.table, 28), "Z");
  EXPECT_EQ(Box(0), "A Long playing {record} +^%~Z");
  EXPECT_TRUE(ui.messages.empty());

  QApplication::setActiveWindow(&window);
  window.txtFieldData[1]->setFocus();
  QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);
  QApplication::processEvents();
  EXPECT_TRUE(window.mnuFile->isVisible());
  window.mnuFile->hide();
  EXPECT_EQ(Box(1), "");
}

TEST_F(MediaWindowsTest, MemoEditorKeepsLinesAndShowsSeeMemo) {
  Start({{"Title", 20}}, {{{"One"}}});
  window.mnuVPrevious->trigger();
  ASSERT_EQ(Panel(Panel::Entry), "Entry # 1");
  ui.script = {[](QDialog& dialog) {
    auto& memo = dynamic_cast<frmMemo&>(dialog);
    EXPECT_EQ(memo.windowTitle(), "Edit Memo");
    EXPECT_TRUE(memo.txtMemo->hasFocus() || !memo.isActiveWindow());
    memo.txtMemo->setPlainText("first line\nsecond line");
    memo.cmdOK->click();
  }};
  window.mnuEMemo->trigger();
  EXPECT_EQ(Panel(Panel::Deleted), "SEE MEMO");
  EXPECT_EQ(ReadMemo(program, 1), "first line\r\nsecond line");
  window.mnuERemoveMemo->trigger();
  EXPECT_EQ(Panel(Panel::Deleted), "");
  window.mnuERemoveMemo->trigger();
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"No memo to delete."});
}

TEST_F(MediaWindowsTest, ThePictureWindowTakesThePicturesSizeAndTheThumbnailItsProportions) {
  CatalogLayout layout = MakeLayout({{"Title", 20}});
  layout.lengths[kMediaField] = 200;
  ASSERT_TRUE(CreateNewCatalog(program, dir.path(), "CAT", layout));
  StartOnCatalog();
  QImage picture(64, 48, QImage::Format_RGB32);
  picture.fill(Qt::darkCyan);
  ASSERT_TRUE(picture.save(QString::fromStdString(dir / "wide.png")));
  Type(0, "Pictured");
  ui.script = {[&](QDialog& dialog) {
    auto& editor = dynamic_cast<frmPicSound&>(dialog);
    EXPECT_EQ(editor.windowTitle(), "Edit Picture/Sound");
    editor.txtBmpFile->setText(QString::fromStdString(dir / "wide.png"));
    editor.btnOK->click();
  }};
  window.mnuEPicSound->trigger();
  ASSERT_EQ(Stored().entries.size(), 1u);
  window.mnuVPrevious->trigger();
  EXPECT_TRUE(window.mnuVShowBMP->isEnabled());
  EXPECT_FALSE(window.mnuVPlayWav->isEnabled());
  const QPixmap thumbnail = window.Image1->pixmap();
  EXPECT_EQ(thumbnail.deviceIndependentSize().toSize(), QSize(kPictureAreaSize, kPictureAreaSize * 3 / 4));

  QSize shown;
  ui.script = {[&](QDialog& dialog) {
    shown = dialog.size();
    QTest::keyClick(&dialog, Qt::Key_Space);
  }};
  Key(0, Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(shown, QSize(64, 48));
}

// Save with paths longer than field 21 asks to widen it; Yes rebuilds the catalog, shows the same entry
// and opens the editor again with the paths, whose Save stores them. The demo's sleeves are pictures.
TEST_F(MediaWindowsTest, MakeRoomInField21) {  // a short name: the path must fit in 80
  Start({{"Title", 20}}, {{{"One"}}, {{"Two"}}});
  window.mnuVPrevious->trigger();
  const QString cover = QString::fromStdString(dir / "cover1.bmp");
  ASSERT_TRUE(QImage::fromData(QByteArray::fromStdString(DemoCoverBitmap(0))).save(cover));
  ui.script = {[&](QDialog& dialog) {
                 dynamic_cast<frmPicSound&>(dialog).txtBmpFile->setText(cover);
                 dynamic_cast<frmPicSound&>(dialog).btnOK->click();
               },
               [&](QDialog& dialog) {
                 EXPECT_EQ(dynamic_cast<frmPicSound&>(dialog).txtBmpFile->text(), cover);
                 EXPECT_EQ(Panel(Panel::Entry), "Entry # 2");
                 dynamic_cast<frmPicSound&>(dialog).btnOK->click();
               }};
  ui.buttons = {QMessageBox::Yes};
  window.mnuEPicSound->trigger();
  EXPECT_TRUE(ui.script.empty());
  ASSERT_THAT(ui.Texts(), ::testing::ElementsAre("Field 21 holds 0 characters; make it 80 so that the paths fit?",
                                                 "Field lengths were changed. About to rebuild catalog."));
  EXPECT_EQ(ui.messages[0].icon, QMessageBox::Question);
  EXPECT_EQ(RightTrim(Stored().entries.at(1).Field[kMediaField]), "\x01" + cover.toStdString());
  EXPECT_EQ(window.Image1->pixmap().deviceIndependentSize().toSize(), QSize(kPictureAreaSize, kPictureAreaSize));
}

TEST(ThumbnailTest, KeepsProportionsAndDrawsAtThePixelRatio) {
  const QImage tall(30, 120, QImage::Format_RGB32);
  const QPixmap sharp = Thumbnail(tall, QSize(48, 48), 2.0);
  EXPECT_EQ(sharp.size(), QSize(24, 96));
  EXPECT_EQ(sharp.deviceIndependentSize().toSize(), QSize(12, 48));
  EXPECT_EQ(Thumbnail(QImage(20, 10, QImage::Format_RGB32), QSize(48, 48), 1.0).size(), QSize(20, 10));
}

TEST(PictureFilterTest, BitmapsComeFirstThenEveryFormatQtReads) {
  const std::string filter = PictureFilter();
  EXPECT_EQ(filter.rfind("Bitmap (*.bmp)|*.bmp|", 0), 0u);
  EXPECT_NE(filter.find("PNG (*.png)|*.png"), std::string::npos);
}

}  // namespace
}  // namespace vrk::test
