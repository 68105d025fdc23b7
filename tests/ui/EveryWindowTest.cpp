// Every menu and every window of the program, reached as a user reaches them: in each, no access key
// is used twice, and each window fits the free part of the screen: the desktop tests' 1366 x 768
// screen, which CTest also scales to 125 % and 150 %. Where a window's controls are made in another
// order than they stand, Tab follows where they stand.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QtTest/QTest>
#include <map>
#include <set>

#include <QLineEdit>
#include "Desktop.h"
#include "ui/WindowTools.h"
#include "ui/frmCatMaint.h"
#include "ui/frmCatSetup.h"
#include "ui/frmCatalogTable.h"

#include "ui/frmEnterName.h"
#include "ui/frmGlobalSearch.h"
#include "ui/frmHelp.h"
#include "ui/frmListAlpha.h"
#include "ui/frmListRange.h"
#include "ui/frmPicSound.h"
#include "ui/frmReportDest.h"
#include "ui/frmRptMaintenance.h"
#include "ui/frmSearch.h"
#include "ui/frmSrcDest.h"

namespace vrk::test {
namespace {

using EveryWindowTest = DesktopTest;

// The access keys used more than once among these captions.
std::set<QString> Repeated(const QStringList& captions) {
  std::map<QString, int> uses;
  for (const QString& caption : captions) {
    if (const QKeySequence key = QKeySequence::mnemonic(caption); !key.isEmpty()) ++uses[key.toString()];
  }
  std::set<QString> repeated;
  for (const auto& [key, count] : uses) {
    if (count > 1) repeated.insert(key);
  }
  return repeated;
}

QStringList ItemCaptions(const QList<QAction*>& actions) {
  QStringList captions;
  for (const QAction* action : actions) {
    if (action->isVisible() && !action->isSeparator()) captions << action->text();
  }
  return captions;
}

// What Alt with a letter reaches in a window: its buttons, the labels of its boxes, its frames and tabs.
QStringList WindowCaptions(const QWidget& window) {
  QStringList captions;
  for (const QWidget* control : window.findChildren<QWidget*>()) {
    if (!control->isVisibleTo(&window)) continue;
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) captions << button->text();
    if (const auto* label = qobject_cast<const QLabel*>(control); label != nullptr && label->buddy() != nullptr) {
      captions << label->text();
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(control)) captions << frame->title();
    if (const auto* tabs = qobject_cast<const QTabWidget*>(control)) {
      for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
    }
  }
  return captions;
}

// The controls Tab reaches from the first of them, in order, until it comes back.
QWidgetList TabOrder(QWidget* first) {
  QWidgetList order;
  QWidget* control = first;
  do {
    if (control->isEnabled() && control->isVisibleTo(first->window()) && (control->focusPolicy() & Qt::TabFocus)) {
      order << control;
    }
    control = control->nextInFocusChain();
  } while (control != first);
  return order;
}

// The ones of these controls that Tab reaches.
QWidgetList Reached(std::initializer_list<QWidget*> controls) {
  QWidgetList reached;
  for (QWidget* control : controls) {
    if (control->isEnabled() && (control->focusPolicy() & Qt::TabFocus)) reached << control;
  }
  return reached;
}

void CheckWindow(const QWidget& window, const char* name) {
  EXPECT_EQ(Repeated(WindowCaptions(window)), std::set<QString>()) << name;
  const QRect free = window.screen()->availableGeometry();
  EXPECT_TRUE(free.contains(window.frameGeometry()))
      << name << ": " << window.frameGeometry().width() << "x" << window.frameGeometry().height() << " on "
      << free.width() << "x" << free.height();
}

TEST_F(EveryWindowTest, EveryMenuAndWindowHasUniqueAccessKeysAndFitsTheScreen) {
  Start({{"Title", 20}, {"Artist", 20, kKeyField}, {"Price", 8, kSumField}, {"Notes", 80}},
        {{{"One", "Abba", "1"}}, {{"Two", "Beatles", "2"}, kStatusDeleted}});
  CenterWindow(window);
  CheckWindow(window, "main window");
  QStringList titles;
  for (QAction* menu : window.menuBar()->actions()) {
    titles << menu->text();
    EXPECT_EQ(Repeated(ItemCaptions(menu->menu()->actions())), std::set<QString>()) << menu->text().toStdString();
  }
  EXPECT_EQ(Repeated(titles), std::set<QString>());

  // Every window of the program is checked as it shows and left with Cancel, after the windows it opens
  // itself; a question is answered No.
  std::set<std::string> seen;
  ui.takeOver = [&](QDialog& dialog) {
    const std::string name = dialog.metaObject()->className();
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) return box->escapeButton()->click();
    if (name.rfind("vrk::", 0) != 0) return dialog.reject();
    seen.insert(name);
    CheckWindow(dialog, name.c_str());
    // Tab follows the layout: down each frame of Report Setup, then the boxes; across Picture/Sound's rows.
    if (auto* setup = qobject_cast<frmReportDest*>(&dialog)) {
      EXPECT_EQ(TabOrder(setup->optMonitor),
                Reached({setup->optMonitor,     setup->optPrinter,    setup->optQuickView,  setup->optASCIIFile,
                         setup->optHTMLFile,    setup->optDBase,      setup->chkPrintMemos, setup->chkDashed,
                         setup->chkColHeadings, setup->chkLockTop,    setup->chkNoSpace,    setup->chkPageNum,
                         setup->optContinuous,  setup->optSingle,     setup->optLabels,     setup->txtPageLength,
                         setup->txtTopMargin,   setup->txtQVMaxLines, setup->txtQVColWidth, setup->cmdFonts,
                         setup->cmdOK,          setup->cmdCancel}));
    }
    if (auto* media = qobject_cast<frmPicSound*>(&dialog)) {
      EXPECT_EQ(TabOrder(media->txtBmpFile), Reached({media->txtBmpFile, media->cmdBrowsePic, media->txtWavFile,
                                                      media->cmdBrowseWav, media->btnOK, media->btnCancel}));
    }
    if (auto* maintenance = qobject_cast<frmCatMaint*>(&dialog)) maintenance->cmdChangeFormat->click();
    if (auto* setup = qobject_cast<frmCatSetup*>(&dialog)) setup->cmdEditFormula->click();
    if (auto* search = qobject_cast<frmSearch*>(&dialog)) {
      search->cmdSrcSetup->click();
      search->cmdRptSetup->click();
    }
    if (auto* alpha = qobject_cast<frmListAlpha*>(&dialog)) alpha->cmdSetStart->click();
    if (auto* formats = qobject_cast<frmRptMaintenance*>(&dialog)) formats->cmdNew->click();
    if (auto* name = qobject_cast<frmEnterName*>(&dialog); name != nullptr && name->windowTitle() == "New Report") {
      QTest::keyClicks(name->txtName, "WALK");  // on to the designer, which is cancelled
      return name->cmdOK->click();
    }
    if (auto* copy = qobject_cast<frmSrcDest*>(&dialog)) return copy->cmdOK->click();
    dialog.reject();
  };
  window.mnuVPrevious->trigger();  // an entry on the screen, for its memo and picture windows
  for (QAction* item :
       {window.mnuFCatalogMaintenance, window.mnuVPrintEntry, window.mnuEMemo, window.mnuECopyPrev, window.mnuEPicSound,
        window.mnuVSelNumber, window.mnuVListRange, window.mnuVListAlpha, window.mnuVSearch, window.mnuVReplace,
        window.mnuVGlobalSearch, window.mnuVSpeed1, window.mnuOSetup, window.mnuRSelectLayout, window.mnuUSort,
        window.mnuUCopyEntries, window.mnuUSetSecurityCode, window.mnuUSetupMacro, window.mnuHAbout}) {
    item->trigger();
  }
  for (const ReportDestination destination : {ReportDestination::kQuickView, ReportDestination::kPrinter}) {
    program.report.destination = destination;
    window.mnuVFindDeleted->trigger();
  }
  EXPECT_EQ(seen, (std::set<std::string>{
                      "vrk::frmAbout",       "vrk::frmCatMaint",     "vrk::frmCatSetup",       "vrk::frmConfigCpy",
                      "vrk::frmCriteria",    "vrk::frmEditFormula",  "vrk::frmEditMacro",      "vrk::frmEnterName",
                      "vrk::frmEnterNumber", "vrk::frmGlobalSearch", "vrk::frmListAlpha",      "vrk::frmListRange",
                      "vrk::frmMemo",        "vrk::frmPicSound",     "vrk::frmQView",          "vrk::frmRTitle",
                      "vrk::frmReplace",     "vrk::frmReportDest",   "vrk::frmRptMaintenance", "vrk::frmRptSetup",
                      "vrk::frmSearch",      "vrk::frmSortSetup",    "vrk::frmSrcDest"}));
  window.mnuVCatalogTable->trigger();  // not modal: it opens beside the main window and stays
  ASSERT_NE(ui.catalogTable, nullptr);
  CheckWindow(*ui.catalogTable, "catalog table");
  ui.catalogTable->close();
  window.mnuHContents->trigger();
  CheckWindow(*window.findChild<frmHelp*>(), "help");
}

}  // namespace
}  // namespace vrk::test
