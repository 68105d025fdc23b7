// The catalog table window's wiring: opened from the View menu beside the main window, filtered by
// typing, ordered by a click on a header, Delete on rows, Enter to the entry screen, changes made on the
// entry screen shown, the query kept for the next time.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QtTest/QTest>

#include "Desktop.h"
#include "shell/CatalogTable.h"
#include "shell/Startup.h"
#include "ui/frmCatalogTable.h"

namespace vrk::test {
namespace {

using CatalogTableWindowTest = DesktopTest;

// The entry numbers of the rows, top to bottom.
std::vector<EntryNumber> Rows(const frmCatalogTable& table) {
  std::vector<EntryNumber> rows;
  for (int row = 0; row < table.model->rowCount(); ++row) {
    rows.push_back(table.model->data(table.model->index(row, 0), Qt::DisplayRole).toLongLong());
  }
  return rows;
}

TEST_F(CatalogTableWindowTest, TypingOrderingDeletingAndEnterWorkFromTheKeyboard) {
  Start({{"Artist", 12, kKeyField}, {"Price", 6, kSumField}},
        {{{"Lomax", "10.5"}}, {{"Carter", "9"}}, {{"Lee", "12"}, kStatusDeleted}, {{"Leeds", "7"}}});
  QAction* item = window.mnuVCatalogTable;
  EXPECT_EQ(item->text(), "Catalog Ta&ble");
  EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
  Key(0, Qt::Key_T, Qt::ControlModifier);  // from the entry screen's first box
  ASSERT_NE(ui.catalogTable, nullptr);
  frmCatalogTable& table = *ui.catalogTable;
  EXPECT_TRUE(table.isVisible());
  EXPECT_FALSE(table.isModal());
  EXPECT_EQ(table.windowTitle(), "Catalog Table - CAT");
  EXPECT_EQ(table.model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Artist");
  EXPECT_EQ(Rows(table), (std::vector<EntryNumber>{1, 2, 3, 4}));
  EXPECT_TRUE(table.model->data(table.model->index(2, 2), Qt::ForegroundRole).isValid());  // greyed
  QTest::keyClicks(table.txtFilter, "art:le");
  QTRY_COMPARE(Rows(table), (std::vector<EntryNumber>{3, 4}));
  EXPECT_EQ(table.lblRows->text(), "2 rows");
  table.chkHideDeleted->click();
  QTRY_COMPARE(Rows(table), (std::vector<EntryNumber>{4}));
  table.txtFilter->selectAll();
  QTest::keyClick(table.txtFilter, Qt::Key_Backspace);
  QTRY_COMPARE(Rows(table), (std::vector<EntryNumber>{1, 2, 4}));
  table.grdEntries->horizontalHeader()->sectionClicked(3);  // Price, as numbers
  QTRY_COMPARE(Rows(table), (std::vector<EntryNumber>{4, 2, 1}));
  table.grdEntries->horizontalHeader()->sectionClicked(3);
  QTRY_COMPARE(Rows(table), (std::vector<EntryNumber>{1, 2, 4}));
  table.grdEntries->setFocus();
  table.grdEntries->selectRow(1);
  ui.buttons = {QMessageBox::Yes};
  QTest::keyClick(table.grdEntries, Qt::Key_Delete);
  EXPECT_EQ(ui.Texts().back(), "Delete the selected entry?");
  QTRY_COMPARE(Rows(table), (std::vector<EntryNumber>{1, 4}));
  EXPECT_EQ(window.mnuEUndo->text(), "U&ndo Delete");  // the main window knows of the change
  QTest::keyClicks(table.txtFilter, "ds");
  QTRY_COMPARE(Rows(table), (std::vector<EntryNumber>{4}));
  QTest::keyClick(table.txtFilter, Qt::Key_Down);
  EXPECT_EQ(table.focusWidget(), table.grdEntries);
  QTest::keyClick(table.grdEntries, Qt::Key_Return);
  EXPECT_EQ(Box(0), "Leeds");  // the entry chosen is on the entry screen, the table still beside it
  EXPECT_TRUE(table.isVisible());

  // A change made on the entry screen shows in the table: Leeds deleted leaves the rows shown.
  window.mnuEDeleteEntry->trigger();
  QTRY_COMPARE(Rows(table), (std::vector<EntryNumber>{}));
  EXPECT_EQ(Stored().entries[3].Status, kStatusDeleted);
  window.mnuEUndo->trigger();
  QTRY_COMPARE(Rows(table), (std::vector<EntryNumber>{4}));

  table.cmdClose->click();
  QTRY_VERIFY(ui.catalogTable == nullptr);
  const TableQuery kept = ReadTableQuery(program);
  EXPECT_EQ(kept.filter, "ds");
  EXPECT_TRUE(kept.hideDeleted);
  EXPECT_EQ(kept.order, (TableOrder{.field = 1, .descending = true}));
}

TEST_F(CatalogTableWindowTest, TheTableFollowsTheCurrentCatalogAndClosesWithIt) {
  Start({{"Artist", 12, kKeyField}}, {{{"Lomax"}}, {{"Carter"}}});
  window.mnuVCatalogTable->trigger();
  ASSERT_NE(ui.catalogTable, nullptr);
  QTest::keyClicks(ui.catalogTable->txtFilter, "lo");
  QTRY_COMPARE(Rows(*ui.catalogTable), (std::vector<EntryNumber>{1}));
  // A new entry saved on the entry screen joins the rows it matches.
  window.mnuEEraseScreen->trigger();
  Type(0, "Lowe");
  window.mnuESaveEntry->trigger();
  QTRY_COMPARE(Rows(*ui.catalogTable), (std::vector<EntryNumber>{1, 3}));
  window.mnuVCatalogTable->trigger();  // a second Ctrl+T brings the same window forward
  EXPECT_EQ(window.findChildren<frmCatalogTable*>().size(), 1);
  // Another catalog brings its own columns and query; the one before keeps its own.
  WriteCatalog(dir.path(), "OTHER", MakeLayout({{"Title", 10}, {"Year", 4}}), {{{"Moon", "1970"}}});
  ui.runCommand([&](Program& on) { ASSERT_TRUE(OpenCatalogOnScreen(on, dir.path(), "OTHER")); });
  QTRY_COMPARE(Rows(*ui.catalogTable), (std::vector<EntryNumber>{1}));
  EXPECT_EQ(ui.catalogTable->windowTitle(), "Catalog Table - OTHER");
  EXPECT_EQ(ui.catalogTable->model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Title");
  EXPECT_EQ(ui.catalogTable->txtFilter->text(), "");
  ui.runCommand([&](Program& on) { ASSERT_TRUE(OpenCatalogOnScreen(on, dir.path(), "CAT")); });
  QTRY_COMPARE(Rows(*ui.catalogTable), (std::vector<EntryNumber>{1, 3}));
  EXPECT_EQ(ui.catalogTable->txtFilter->text(), "lo");
  // A long operation disables the table with the main window.
  ui.SetMainWindowEnabled(false);
  EXPECT_FALSE(ui.catalogTable->isEnabled());
  ui.SetMainWindowEnabled(true);
  window.close();
  QTRY_VERIFY(ui.catalogTable == nullptr);
  EXPECT_EQ(ReadTableQuery(program).filter, "lo");  // kept as the program closed
}

}  // namespace
}  // namespace vrk::test
