// The main window's controls: buttons, menus, the rows laid out from the catalog, the status bar.
#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBrowser>
#include <QtTest/QTest>

#include "Desktop.h"
#include "platform/FileSystem.h"
#include "ui/EntryBox.h"
#include "ui/frmHelp.h"

namespace vrk::test {
namespace {

// Captions of a menu's items, separators as "-", hidden items left out.
QStringList Captions(const QMenu* menu) {
  QStringList captions;
  for (const QAction* item : menu->actions()) {
    if (item->isVisible()) captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
  }
  return captions;
}

QStringList EnabledItems(const QMenu* menu) {
  QStringList enabled;
  for (const QAction* item : menu->actions()) {
    if (!item->isSeparator() && item->isEnabled()) enabled << item->text();
  }
  return enabled;
}

using MainWindowTest = DesktopTest;

// Another program changing the catalog holds its lock: the desktop program opens it for reading only.
TEST_F(MainWindowTest, ACatalogInUseElsewhereOpensForReadingOnly) {
  WriteCatalog(dir.path(), "CAT", MakeLayout({{"Title", 20, kKeyField}}), {{{"One"}}, {{"Two"}}});
  sys::FileHandle other;
  ASSERT_EQ(
      sys::OpenFile(sys::SystemFiles(), dir / "CAT.DAT", sys::Access::kReadWrite, sys::Creation::kExisting, other), 0);
  ASSERT_EQ(sys::LockFile(other, sys::Lock::kExclusive), 0);
  files.lockWait = std::chrono::milliseconds(0);  // the lock is not given up meanwhile
  StartOnCatalog();
  EXPECT_THAT(ui.Texts(), testing::ElementsAre("CAT is in use by another program: it is opened for reading only."));
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 2");  // no entry can be made: the last one is shown
  EXPECT_TRUE(window.txtFieldData[0]->isReadOnly());
  for (QWidget* button : {static_cast<QWidget*>(window.cmdSave), static_cast<QWidget*>(window.cmdDelete),
                          static_cast<QWidget*>(window.cmdClear), static_cast<QWidget*>(window.cmdCopyLast)}) {
    EXPECT_FALSE(button->isEnabled());
  }
  EXPECT_FALSE(window.mnuESaveEntry->isEnabled());
  EXPECT_FALSE(window.mnuUtilities->menuAction()->isEnabled());
  EXPECT_TRUE(window.cmdPrevious->isEnabled());
}

TEST_F(MainWindowTest, ButtonsStandInTheirOrderWithTheirCaptions) {
  Start({{"Title", 20}});
  QStringList captions;
  QList<QPushButton*> buttons = {window.cmdPrevious, window.cmdNext,  window.cmdCopyLast, window.cmdDelete,
                                 window.cmdSave,     window.cmdAlpha, window.cmdClear,    window.cmdSequential};
  int left = -1;
  for (QPushButton* button : buttons) {
    captions << button->text();
    EXPECT_GT(button->x(), left) << button->text().toStdString();
    left = button->x();
  }
  EXPECT_EQ(captions,
            QStringList({"Previous", "Next", "Copy Last", "Delete", "Save", "Alpha ", "Clear", "Sequential"}));
  EXPECT_TRUE(window.cmdAlpha->isEnabled());
  EXPECT_TRUE(window.cmdSequential->isEnabled());
  EXPECT_TRUE(window.cmdSave->isEnabled());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("TESSALY! Your... - Windows '95 4.12"));
}

TEST_F(MainWindowTest, MenusHoldEveryItemAndOnlyBuiltCommandsAreEnabled) {
  Start({{"Title", 20}});
  QStringList titles;
  for (const QAction* menu : window.menuBar()->actions()) titles << menu->text();
  EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&View", "&Reports", "&Utilities", "&Help"}));
  EXPECT_EQ(Captions(window.mnuFile),
            QStringList({"&Catalog Maintenance", "Print &Setup", "&Print Current Entry", "&Eject Page", "-",
                         "&Import CSV...", "Export CS&V...", "Export Spreads&heet...", "-", "E&xit"}));
  EXPECT_EQ(Captions(window.mnuEdit),
            QStringList({"U&ndo", "Red&o", "-", "&Save Entry", "&Erase Screen", "&Delete Entry", "&Undelete Entry", "-",
                         "Copy &Any Previous", "Copy &Last", "-", "&Memo", "&Remove Memo", "-", "&Picture/Sound"}));
  EXPECT_EQ(Captions(window.mnuView),
            QStringList({"Select &Number", "&Previous", "Ne&xt", "-", "List &Range", "List &Alphabetically", "-",
                         "&Search", "Search && Rep&lace", "&Global Search", "Find &Deleted", "Catalog Ta&ble", "-",
                         "Pi&cture", "So&und", "&Thumbnail", "-", "T&otals"}));
  EXPECT_EQ(Captions(window.mnuReports), QStringList({"&Setup", "&Report Maintenance", "Print Pre&view"}));
  EXPECT_EQ(Captions(window.mnuUtilities), QStringList({"&ReIndex", "&Sort", "Copy &Entries", "Eliminate &Deleted",
                                                        "Set Security &Code", "Setup &Macro"}));
  EXPECT_EQ(Captions(window.mnuHelp), QStringList({"&Contents", "-", "&About"}));

  EXPECT_EQ(EnabledItems(window.mnuFile),
            QStringList({"&Catalog Maintenance", "Print &Setup", "&Print Current Entry", "&Eject Page",
                         "&Import CSV...", "Export CS&V...", "Export Spreads&heet...", "E&xit"}));
  EXPECT_EQ(EnabledItems(window.mnuEdit),
            QStringList({"&Save Entry", "&Erase Screen", "&Delete Entry", "&Undelete Entry", "Copy &Any Previous",
                         "Copy &Last", "&Memo", "&Remove Memo", "&Picture/Sound"}));
  EXPECT_EQ(EnabledItems(window.mnuView),
            QStringList({"Select &Number", "&Previous", "Ne&xt", "List &Range", "List &Alphabetically", "&Search",
                         "Search && Rep&lace", "&Global Search", "Find &Deleted", "Catalog Ta&ble", "&Thumbnail",
                         "T&otals"}));
  EXPECT_EQ(EnabledItems(window.mnuReports), QStringList({"&Setup", "&Report Maintenance", "Print Pre&view"}));
  EXPECT_EQ(EnabledItems(window.mnuUtilities), QStringList({"&ReIndex", "&Sort", "Copy &Entries", "Eliminate &Deleted",
                                                            "Set Security &Code", "Setup &Macro"}));
  EXPECT_EQ(EnabledItems(window.mnuHelp), QStringList({"&Contents", "&About"}));
}

TEST_F(MainWindowTest, WithoutACatalogTheCatalogCommandsAreDisabled) {
  StartWithoutCatalog();
  EXPECT_FALSE(window.mnuEdit->menuAction()->isEnabled());
  EXPECT_FALSE(window.mnuView->menuAction()->isEnabled());
  EXPECT_FALSE(window.mnuUReIndex->isEnabled());
  for (QPushButton* button :
       {window.cmdPrevious, window.cmdNext, window.cmdCopyLast, window.cmdDelete, window.cmdSave, window.cmdClear}) {
    EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
  }
  EXPECT_TRUE(window.mnuFExit->isEnabled());
  EXPECT_EQ(Panel(Panel::CatName), "");
  EXPECT_EQ(Panel(Panel::Sorted), "");
  EXPECT_EQ(Panel(Panel::Entry), "Entry # 1");
  EXPECT_EQ(Panel(Panel::SearchMode), "Make Entries");
  EXPECT_EQ(Panel(Panel::RptDest), "MAIN WINDOW");
  for (const EntryBox* box : window.txtFieldData) EXPECT_TRUE(box->isHidden());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowTest, RowsKeepTheirPlacesAroundAnUnusedField) {
  Start({{"Artist", 20},
         {"Title", 30},
         {"Unused", 0},
         {"Year", 4},
         {"Price", 8, kSumField},
         {"Copies", 3, kSumField},
         {"Value", 10, kSumField, "E*F"}});
  EXPECT_EQ(Panel(Panel::CatName), "CAT");
  EXPECT_EQ(Panel(Panel::Sorted), "UNSORTED");
  const auto& labels = window.lblFieldName;
  const auto& boxes = window.txtFieldData;
  const int pitch = labels[1]->y() - labels[0]->y();
  EXPECT_GT(pitch, boxes[0]->height());
  EXPECT_TRUE(labels[2]->isHidden());
  EXPECT_TRUE(boxes[2]->isHidden());
  EXPECT_EQ(labels[3]->y() - labels[1]->y(), 2 * pitch);
  EXPECT_EQ(labels[3]->text(), "Year");
  EXPECT_TRUE(boxes[kMediaField]->isHidden());
  EXPECT_TRUE(boxes[7]->isHidden());

  // Widths follow the field lengths; typing stops at the length; computed boxes are locked.
  EXPECT_GT(boxes[1]->width(), boxes[0]->width());
  EXPECT_GT(boxes[0]->width(), boxes[3]->width());
  EXPECT_EQ(boxes[3]->maxLength(), 4);
  EXPECT_TRUE(boxes[6]->isReadOnly());
  EXPECT_FALSE(boxes[4]->isReadOnly());
}

TEST_F(MainWindowTest, TheFirstThreeKeyFieldsGetSpeedSearchEntries) {
  Start({{"Artist", 20, kKeyField},
         {"Title", 20, kKeySumField},
         {"Label", 10},
         {"Year", 4, kKeyField},
         {"Genre", 10, kKeyField}});
  EXPECT_TRUE(window.mnuVSpeed1->isVisible());
  EXPECT_EQ(window.mnuVSpeed1->text(), "Search for Artist");
  EXPECT_EQ(window.mnuVSpeed2->text(), "Search for Title");
  EXPECT_EQ(window.mnuVSpeed3->text(), "Search for Year");
  EXPECT_TRUE(window.mnuVSpeed3->isEnabled());
}

TEST_F(MainWindowTest, LongBoxesAreCutToTheWindowAndTheScreenScrolls) {
  Start({{"Notes", 80}, {"A", 5}, {"B", 5}, {"C", 5}, {"D", 5}, {"E", 5}, {"F", 5}, {"G", 5}, {"H", 5}, {"I", 5},
         {"J", 5},      {"K", 5}, {"L", 5}, {"M", 5}, {"N", 5}, {"O", 5}, {"P", 5}, {"Q", 5}, {"R", 5}, {"S", 5}});
  window.resize(560, 260);
  QApplication::processEvents();
  const QWidget* viewport = window.scrEntries->viewport();
  EXPECT_LT(window.txtFieldData[0]->geometry().right(), viewport->width());
  EXPECT_EQ(window.txtFieldData[0]->maxLength(), 80);
  EXPECT_GT(window.scrEntries->verticalScrollBar()->maximum(), 0);

  window.resize(1400, 900);
  QApplication::processEvents();
  const int charWidth = QFontMetrics(window.txtFieldData[0]->font()).horizontalAdvance(QLatin1Char('W'));
  EXPECT_GE(window.txtFieldData[0]->width(), 80 * charWidth);  // as long as the field again
}

// A label's picture, to compare what two labels show.
QImage Picture(QLabel& label) { return label.grab().toImage(); }

TEST_F(MainWindowTest, FieldNamesShowAsTypedAndTakeNoKeys) {
  Start({{"R&B", 40, kKeyField},
         {"Tom & Jerry", 20, kKeyField},
         {"Sci&Fantasy", 10},
         {"<b>Bold</b>", 10},
         {"WWWWWWWWWWWWWW", 10}});
  const auto& labels = window.lblFieldName;
  // The widest name a field can have is shown whole.
  EXPECT_LE(labels[4]->fontMetrics().horizontalAdvance(labels[4]->text()), labels[4]->contentsRect().width());
  EXPECT_EQ(labels[0]->text(), "R&&B");
  EXPECT_EQ(labels[1]->text(), "Tom && Jerry");
  EXPECT_EQ(labels[2]->text(), "Sci&&Fantasy");
  EXPECT_EQ(window.mnuVSpeed1->text(), "Search for R&&B");
  EXPECT_EQ(window.mnuVSpeed2->text(), "Search for Tom && Jerry");
  for (const QLabel* label : labels) EXPECT_TRUE(QKeySequence::mnemonic(label->text()).isEmpty());
  for (const QAction* speed : {window.mnuVSpeed1, window.mnuVSpeed2}) {
    EXPECT_TRUE(QKeySequence::mnemonic(speed->text()).isEmpty());
  }

  // Each label shows its name as a label without any keys shows the plain text: no underline, no tags.
  for (const auto& [row, typed] : std::vector<std::pair<std::size_t, QString>>{
           {0, "R&B"}, {1, "Tom & Jerry"}, {2, "Sci&Fantasy"}, {3, "<b>Bold</b>"}}) {
    QLabel plain(typed, window.picEntries);
    plain.setTextFormat(Qt::PlainText);
    plain.setAlignment(labels[row]->alignment());
    plain.setGeometry(labels[row]->geometry());
    EXPECT_EQ(Picture(*labels[row]), Picture(plain)) << typed.toStdString();
  }

  // Alt+F is the File menu's, whatever the fields are called, and Alt+B takes the focus nowhere.
  window.txtFieldData[1]->setFocus();
  QTest::keyClick(window.windowHandle(), Qt::Key_B, Qt::AltModifier);
  EXPECT_TRUE(window.txtFieldData[1]->hasFocus());
  QTest::keyClick(window.windowHandle(), Qt::Key_F, Qt::AltModifier);
  EXPECT_EQ(QApplication::activePopupWidget(), window.mnuFile);
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  EXPECT_EQ(Box(2), "");
}

TEST_F(MainWindowTest, AFullFieldShowsEveryCharacterWithTheCaretAfterIt) {
  Start({{"Forty", 40}, {"Eighty", 80}, {"One", 1}});
  window.resize(1400, 900);
  QApplication::processEvents();
  for (const int row : {0, 1, 2}) {
    EntryBox* box = window.txtFieldData[static_cast<std::size_t>(row)];
    const QString full(box->maxLength(), QLatin1Char('W'));
    box->setFocus();
    box->setText(full);
    const QFontMetricsF metrics(box->font());
    for (const bool overtype : {false, true}) {
      box->SetOvertype(overtype);
      box->end(false);
      const QRect end = box->CaretRect();
      EXPECT_GE(box->contentsRect().width(), metrics.horizontalAdvance(full) + end.width()) << row;
      EXPECT_LE(end.right(), box->contentsRect().right()) << row;  // the caret after the text shows whole
      box->home(false);
      const QRect home = box->CaretRect();
      EXPECT_EQ(end.left() - home.left(), qRound(metrics.horizontalAdvance(full))) << row << ": it scrolled";
    }
    box->SetOvertype(false);
  }
}

TEST_F(MainWindowTest, TheEntryScreenIsAsHighAsTheRowsShown) {
  Start({{"Artist", 20}, {"Title", 30}, {"Label", 20}, {"Year", 4}, {"Price", 8}, {"Notes", 40}});
  window.resize(860, 640);
  QApplication::processEvents();
  const QRect last = window.txtFieldData[5]->geometry();
  EXPECT_GT(window.picEntries->height(), last.bottom() + 1);  // the frame below the last box fits
  EXPECT_LT(window.picEntries->height(), last.bottom() + last.height());
  EXPECT_EQ(window.scrEntries->verticalScrollBar()->maximum(), 0);
  EXPECT_FALSE(window.scrEntries->verticalScrollBar()->isVisible());
}

TEST_F(MainWindowTest, EmptyRowsAboveTheLastOneCountInTheHeight) {
  Start({{"Artist", 20}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"Notes", 40}});
  QApplication::processEvents();
  const QRect last = window.txtFieldData[9]->geometry();
  EXPECT_GT(window.picEntries->height(), last.bottom() + 1);
  EXPECT_LT(window.picEntries->height(), last.bottom() + last.height());
}

TEST_F(MainWindowTest, HelpContentsOpensTheHelpPagesWithTheirTasksAndEscapeOrCloseClosesThem) {
  Start({{"Title", 20}});
  window.mnuHContents->trigger();
  auto* help = window.findChild<frmHelp*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  const QString text = help->txtHelp->toPlainText();
  for (const char* command : {"Save Entry", "Erase Screen", "Copy Any Previous", "Select Number", "ReIndex", "Totals",
                              "Catalog Maintenance", "About"}) {
    EXPECT_TRUE(text.contains(QLatin1String(command))) << command;
  }
  for (const auto& [page, title] : {std::pair{"first-catalog.html", "A first catalog"},
                                    {"finding.html", "Finding entries"},
                                    {"printing.html", "Printing and PDF"},
                                    {"pictures.html", "Pictures and sounds"},
                                    {"sorting.html", "Sorting and browsing in sorted order"},
                                    {"backup.html", "Backing up"}}) {
    EXPECT_TRUE(text.contains(QLatin1String(title))) << title;
    help->txtHelp->setSource(QUrl(QLatin1String(page)));
    EXPECT_TRUE(help->txtHelp->toPlainText().startsWith(QLatin1String(title))) << page;
    help->txtHelp->backward();
  }
  QTest::keyClick(help->txtHelp, Qt::Key_Escape);
  EXPECT_FALSE(help->isVisible());
  window.mnuHContents->trigger();
  help->cmdClose->click();
  EXPECT_FALSE(help->isVisible());
}

TEST(HelpWindowTest, AMissingHelpPageIsNamedWhereItWasLookedFor) {
  const frmHelp help(nullptr, "/nowhere/share/vrk/help/vrkhelp.html");
  EXPECT_EQ(help.txtHelp->toPlainText(),
            "The help pages were not found: VRK looked for /nowhere/share/vrk/help/vrkhelp.html.");
}

TEST_F(MainWindowTest, TheHelpWindowOpensInTheMiddleOfTheScreenAndThenStaysWhereItIsPut) {
  Start({{"Title", 20}});
  window.move(0, 0);
  window.mnuHContents->trigger();
  auto* help = window.findChild<frmHelp*>();
  ASSERT_NE(help, nullptr);
  const QRect screen = help->screen()->availableGeometry();
  EXPECT_LE((help->frameGeometry().center() - screen.center()).manhattanLength(), 2);
  help->move(30, 40);
  help->close();
  window.mnuHContents->trigger();
  EXPECT_EQ(help->pos(), QPoint(30, 40));
}

}  // namespace
}  // namespace vrk::test
