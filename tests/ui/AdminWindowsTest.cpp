// The catalog administration windows driven as a user drives them: the setup editor's checks and
// messages, Catalog Maintenance in the read-only state, Sort from the Utilities menu and the copy
// mapping's rows.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest/QTest>

#include "Desktop.h"
#include "admin/CatalogSetup.h"
#include "admin/CopyEntries.h"
#include "catalog/Layout.h"
#include "ui/frmCatMaint.h"
#include "ui/frmCatSetup.h"
#include "ui/frmConfigCpy.h"
#include "ui/frmEditFormula.h"
#include "ui/frmSortSetup.h"

namespace vrk::test {
namespace {

using ::testing::ElementsAre;

using AdminWindowsTest = DesktopTest;

// Runs the setup editor on a layout with `act` at the window; the layout after OK, if it was confirmed.
std::optional<CatalogSetup> RunSetup(RecordingUi& ui, const CatalogLayout& layout,
                                     const std::function<void(frmCatSetup&)>& act) {
  ui.script.push_back([act](QDialog& dialog) {
    QApplication::setActiveWindow(&dialog);
    act(dynamic_cast<frmCatSetup&>(dialog));
  });
  CatalogSetup setup{"Catalog Setup  (CAT)", layout};
  if (!ui.dialogs.Show(setup)) return std::nullopt;
  return setup;
}

TEST_F(AdminWindowsTest, TheSetupEditorHoldsLengthsTo80AndTakesDigitsOnly) {
  const auto setup = RunSetup(ui, MakeLayout({{"Title", 20}}), [&](frmCatSetup& window) {
    EXPECT_EQ(window.windowTitle(), "Catalog Setup  (CAT)");
    EXPECT_EQ(window.txtFieldName[0]->text(), "Title");
    EXPECT_EQ(window.txtFieldLength[1]->text(), "");
    QTest::keyClicks(window.txtFieldLength[1], "9x9");
    EXPECT_EQ(window.txtFieldLength[1]->text(), "80");
    QTest::keyClick(window.txtFieldLength[1], Qt::Key_Return);
    EXPECT_TRUE(window.txtFieldName[2]->hasFocus());
    QTest::keyClick(window.txtFieldName[2], Qt::Key_Return);
    EXPECT_TRUE(window.txtFieldLength[2]->hasFocus());
    window.cmdSubtractLength->click();  // empty stays empty
    window.cmdAddLength->click();
    window.cmdAddLength->click();
    window.cmdSubtractLength->click();
    EXPECT_EQ(window.txtFieldLength[2]->text(), "1");
    window.cmdSubtractLength->click();
    EXPECT_EQ(window.txtFieldLength[2]->text(), "");
    window.optField[1]->click();
    window.cmdAddLength->click();  // 80 stays 80
    EXPECT_EQ(window.txtFieldLength[1]->text(), "80");
    window.cmdOK->click();
  });
  ASSERT_TRUE(setup);
  EXPECT_EQ(setup->layout.lengths[1], 80);
  EXPECT_EQ(setup->entryLength, 117);
  EXPECT_THAT(ui.events, ElementsAre("beep", "message: Field Length Maximum is 80"));
}

TEST_F(AdminWindowsTest, TheSetupEditorKeepsComputedFieldsAndKeysApart) {
  const auto setup = RunSetup(ui, MakeLayout({{"Price", 8}, {"Qty", 4, kKeyField}, {"Value", 10, kSumField, "A*B"}}),
                              [&](frmCatSetup& window) {
                                EXPECT_EQ(window.lblFormula[2]->text(), "Price * Qty");
                                window.optField[2]->click();
                                EXPECT_TRUE(window.optSum->isChecked());
                                window.optKey->click();
                                EXPECT_FALSE(window.optKey->isChecked());
                                window.optField[1]->click();
                                EXPECT_TRUE(window.optKey->isChecked());
                                window.cmdEditFormula->click();
                                window.optKey->click();  // clearing Key allows a formula
                                ui.script.push_back([](QDialog& dialog) {
                                  auto& formula = dynamic_cast<frmEditFormula&>(dialog);
                                  EXPECT_EQ(formula.lblFieldName->text(), "Qty");
                                  EXPECT_EQ(formula.cboField1->count(), 3);
                                  EXPECT_EQ(formula.cboOperator->itemText(2), "Mutiplied By");
                                  formula.cboField1->setCurrentIndex(2);
                                  formula.cboOperator->setCurrentIndex(3);
                                  formula.cmdOK->click();
                                });
                                window.cmdEditFormula->click();
                                EXPECT_EQ(window.lblFormula[1]->text(), "Value / Price");
                                window.optField[2]->click();
                                window.cmdRemoveFormula->click();
                                EXPECT_TRUE(window.lblFormula[2]->isHidden());
                                window.optKey->click();  // no formula now: may be a key
                                EXPECT_TRUE(window.optKey->isChecked());
                                window.cmdOK->click();
                              });
  ASSERT_TRUE(setup);
  EXPECT_THAT(ui.Texts(), ElementsAre("A computed field may not be used as an index",
                                      "An index field cannot be a computed field."));
  EXPECT_EQ(setup->layout.fields[1].Type, kPlainField);
  EXPECT_EQ(FormulaText(setup->layout.formulas[1]), "C/A");
  EXPECT_EQ(setup->layout.fields[2].Type, kKeySumField);
  EXPECT_FALSE(setup->layout.formulas[2].Valid);
  EXPECT_EQ(setup->entryLength, 54);  // 22 + 17 is below 54
}

TEST_F(AdminWindowsTest, TheSetupEditorWantsOneFieldAndCancelChangesNothing) {
  const CatalogLayout layout = MakeLayout({{"Title", 20}, {"Notes", 20}});
  const auto cancelled = RunSetup(ui, layout, [](frmCatSetup& window) {
    window.txtFieldLength[0]->clear();
    window.txtFieldLength[1]->clear();
    window.cmdOK->click();
    EXPECT_TRUE(window.isVisible());
    window.cmdCancel->click();
  });
  EXPECT_FALSE(cancelled);
  EXPECT_THAT(ui.Texts(), ElementsAre("Must Specify at lease one nozero length field."));
  const auto confirmed = RunSetup(ui, layout, [](frmCatSetup& window) { window.cmdOK->click(); });
  ASSERT_TRUE(confirmed);
  EXPECT_EQ(confirmed->entryLength, 57);
}

TEST_F(AdminWindowsTest, InTheSetupEditorEnterMovesOnAndABoxReachedHasItsTextSelected) {
  const auto setup = RunSetup(ui, MakeLayout({{"Title", 20}, {"Line 2", 20}}), [](frmCatSetup& window) {
    for (QWidget* control : std::initializer_list<QWidget*>{window.optKey, window.optSum, window.cmdAddLength,
                                                            window.cmdEditFormula, window.cmdOK}) {
      control->setFocus();
      QTest::keyClick(control, Qt::Key_Return);
      ASSERT_TRUE(window.isVisible()) << control->metaObject()->className();
      EXPECT_FALSE(control->hasFocus());
    }
    window.txtFieldLength[0]->setFocus();
    QTest::keyClick(window.txtFieldLength[0], Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(window.txtFieldName[1]->selectedText(), "Line 2");
    QTest::keyClicks(window.txtFieldName[1], "Artist");
    QTest::mouseClick(window.txtFieldName[0], Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(window.txtFieldName[0]->selectedText(), "Title");
    QTest::keyClick(window.txtFieldName[0], Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), window.txtFieldLength[0]);
    EXPECT_EQ(window.txtFieldLength[0]->selectedText(), "20");
    // The widest name a field can have is shown whole: its first letter stays at the box's left.
    QLineEdit* name = window.txtFieldName[2];
    name->setText(QString(14, QLatin1Char('W')));
    EXPECT_EQ(name->cursorPositionAt(QPoint(5, name->height() / 2)), 0);
    EXPECT_EQ(window.cmdOK->shortcut(), QKeySequence(Qt::ALT | Qt::Key_O));
    window.cmdOK->click();
  });
  EXPECT_THAT(ui.Texts(), ElementsAre());
  ASSERT_TRUE(setup);
  EXPECT_EQ(setup->layout.fields[1].Name, PadFieldName("Artist"));
}

TEST_F(AdminWindowsTest, EnterAndEscapeInTheQuestionsThatDestroyDataLoseNothing) {
  Start({{"Title", 20}}, {{{"One"}}, {{"Two"}, kStatusDeleted}});
  const auto recording = ui.takeOver;
  std::vector<Qt::Key> keys = {Qt::Key_Return, Qt::Key_Escape};
  ui.takeOver = [&](QDialog& dialog) {
    if (qobject_cast<QMessageBox*>(&dialog) == nullptr) return recording(dialog);
    ui.messages.push_back({dialog.windowTitle(), qobject_cast<QMessageBox*>(&dialog)->text(), QMessageBox::Question});
    QTest::keyClick(&dialog, keys.front());
    keys.erase(keys.begin());
  };
  window.mnuUEliminateDeleted->trigger();
  ui.script.push_back([](QDialog& dialog) {
    auto& window = dynamic_cast<frmCatMaint&>(dialog);
    window.lstDB->setCurrentItem(window.lstDB->topLevelItem(0));
    window.cmdDelete->click();
    window.cmdOK->click();
  });
  window.mnuFCatalogMaintenance->trigger();
  EXPECT_THAT(ui.Texts(), ElementsAre("This operation will PERMANENTLY erase all\nrecords marked as deleted. Proceed?",
                                      "Really want to delete catalog CAT?"));
  const CatalogOnDisk stored = Stored();
  ASSERT_EQ(stored.entries.size(), 2u);
  EXPECT_EQ(stored.entries[1].Status, kStatusDeleted);
}

TEST_F(AdminWindowsTest, CatalogMaintenanceInTheReadOnlyStateOffersOnlySelectAndBackup) {
  Start({{"Title", 20}}, {{{"One"}}});
  program.readOnly = true;
  ui.script.push_back([](QDialog& dialog) {
    auto& window = dynamic_cast<frmCatMaint&>(dialog);
    EXPECT_EQ(window.windowTitle(), "Catalog Maintenance");
    EXPECT_EQ(window.lblCurCatalog->text(), "CAT");
    ASSERT_EQ(window.lstDB->topLevelItemCount(), 1);
    EXPECT_EQ(window.lstDB->topLevelItem(0)->text(1), "1");
    EXPECT_TRUE(window.cmdSelect->isEnabled());
    EXPECT_TRUE(window.cmdBackup->isEnabled());
    for (QPushButton* button : {window.cmdNew, window.cmdChangeFormat, window.cmdRename, window.cmdDelete,
                                window.cmdReserveSpace, window.cmdImportDBase}) {
      EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    }
    window.ChooseDirectory(QStringLiteral("/nonexistent-directory"));
    EXPECT_EQ(window.lstDB->topLevelItemCount(), 0);
    EXPECT_FALSE(window.cmdSelect->isEnabled());
    EXPECT_FALSE(window.cmdBackup->isEnabled());
    window.cmdOK->click();
  });
  window.mnuFCatalogMaintenance->trigger();
  EXPECT_EQ(Panel(Panel::CatName), "CAT");
  EXPECT_FALSE(window.mnuUtilities->menuAction()->isEnabled());
  EXPECT_FALSE(window.cmdSave->isEnabled());
}

TEST_F(AdminWindowsTest, SortFromTheMenuShowsTheLevelsAndTheSortedPanel) {
  Start({{"Artist", 10, kKeyField}, {"Title", 10}}, {{{"b", "2"}}, {{"a", "9"}}, {{"a", "1"}}});
  EXPECT_EQ(Panel(Panel::Sorted), "UNSORTED");
  ui.script.push_back([](QDialog& dialog) {
    auto& window = dynamic_cast<frmSortSetup&>(dialog);
    EXPECT_FALSE(window.cmdRemove->isEnabled());
    window.cmdAdd->click();
    window.cboFieldName->setCurrentIndex(1);
    window.cmdAdd->click();
    EXPECT_TRUE(window.cmdRemove->isEnabled());
    EXPECT_TRUE(window.lblFieldName[1]->isVisible());
    EXPECT_EQ(window.lblFieldName[1]->text(), "Title");
    EXPECT_EQ(window.lblFieldName[1]->x() - window.lblFieldName[0]->x(), 40);
    EXPECT_GT(window.lblFieldName[1]->y(), window.lblFieldName[0]->y());
    EXPECT_TRUE(window.picArrow[0]->isVisible());
    EXPECT_FALSE(window.picArrow[1]->isVisible());
    window.cmdOK->click();
  });
  window.mnuUSort->trigger();
  EXPECT_EQ(Panel(Panel::Sorted), "SORTED");
  EXPECT_EQ(program.settings.FirstSorted, 3);
  EXPECT_EQ(program.settings.LastSorted, 1);
}

TEST_F(AdminWindowsTest, TheCopyMappingSwapsRowsAndColoursTheOnesThatAreCut) {
  WriteCatalog(dir.path(), "SRC", MakeLayout({{"Name", 30}, {"Code", 4}}), {});
  WriteCatalog(dir.path(), "DST", MakeLayout({{"Code", 4}, {"Name", 10}}), {});
  ConfigureCopy copy{"SRC", "DST"};
  ASSERT_TRUE(PrepareConfigureCopy(program, dir.path(), copy));
  ui.script.push_back([](QDialog& dialog) {
    auto& window = dynamic_cast<frmConfigCpy&>(dialog);
    EXPECT_EQ(window.lblName1->text(), "SRC");
    EXPECT_EQ(window.lblName2->text(), "DST");
    const QColor cut = window.lblCopyFrom[0]->palette().color(QPalette::WindowText);
    const QColor whole = window.lblCopyFrom[1]->palette().color(QPalette::WindowText);
    EXPECT_NE(cut, whole);  // Name (30) into Code (4); Code (4) into Name (10)
    window.optCopyFrom[0]->click();
    window.cboFieldName->setCurrentIndex(1);
    emit window.cboFieldName->activated(1);
    EXPECT_EQ(window.lblCopyFrom[0]->text(), "Code");
    EXPECT_EQ(window.lblCopyFromLen[0]->text(), "4");
    EXPECT_EQ(window.lblCopyFrom[1]->text(), "Name");
    EXPECT_EQ(window.lblCopyFrom[1]->palette().color(QPalette::WindowText), cut);  // Name (30) into Name (10)
    EXPECT_EQ(window.lblCopyFrom[0]->palette().color(QPalette::WindowText), whole);
    window.cmdOK->click();
  });
  ASSERT_TRUE(ui.dialogs.Show(copy));
  EXPECT_EQ(copy.map[0], 1);
  EXPECT_EQ(copy.map[1], 0);
}

}  // namespace
}  // namespace vrk::test
