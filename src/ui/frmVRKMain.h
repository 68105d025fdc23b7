// The main window: the command buttons, the menus, the entry screen laid out from the current
// catalog's fields, and the status bar. It is the EntryScreen the browsing and editing commands use.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <array>
#include <functional>
#include <map>

#include "shell/EntryScreen.h"
#include "shell/ScreenLayout.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QPainter;
class QPushButton;
class QScrollArea;
class QStatusBar;

namespace vrk {

struct Program;
class QtUi;
class EntryBox;
class frmBldIndex;
class frmHelp;

// The main window's caption.
inline constexpr const char* kMainCaption = "TESSALY! Your... - Windows '95 4.12";

class frmVRKMain : public QMainWindow, public EntryScreen {
  Q_OBJECT

 public:
  explicit frmVRKMain(QtUi& ui);
  ~frmVRKMain() override;

  // The program state the commands work on; set once, before the first command.
  void Attach(Program& program);
  // Called when the window has closed, which ends the program.
  std::function<void()> onClosed;

  // EntryScreen
  std::string BoxText(int box) const override;
  void SetBoxText(int box, const std::string& text) override;
  void SetPanel(Panel panel, const std::string& text) override;
  void EnableCommand(Command command, bool enabled) override;
  void FocusBox(int box) override;
  void LayoutEntryScreen() override;
  void ShowSavingWindow(EntryNumber n) override;
  void CloseSavingWindow() override;
  void RefreshStatusBar() override;
  bool ShowThumbnail(const std::string& path) override;
  void ShowSoundPicture(bool shown) override;
  void TypeText(const std::string& text) override;

  QString PanelText(Panel panel) const;
  frmBldIndex* SavingWindow() const;

  std::array<QLabel*, kFieldCount> lblFieldName{};
  std::array<EntryBox*, kFieldCount> txtFieldData{};
  QPushButton* cmdPrevious;
  QPushButton* cmdNext;
  QPushButton* cmdCopyLast;
  QPushButton* cmdDelete;
  QPushButton* cmdSave;
  QPushButton* cmdAlpha;
  QPushButton* cmdClear;
  QPushButton* cmdSequential;
  QScrollArea* scrEntries;
  QWidget* picEntries;  // the entry screen inside the scroll area
  QStatusBar* StatusBar1;
  QLabel* Image1;  // the entry's thumbnail: a click shows the picture
  QLabel* Image2;  // the sound indicator: a click plays or stops the sound

  QMenu* mnuFile;
  QAction* mnuFCatalogMaintenance;
  QAction* mnuFPrintSetup;
  QAction* mnuVPrintEntry;
  QAction* mnuFEjectPage;
  QAction* mnuFImportCsv;
  QAction* mnuFExportCsv;
  QAction* mnuFExportSpreadsheet;
  QAction* mnuFExit;
  QMenu* mnuEdit;
  QAction* mnuEUndo;
  QAction* mnuERedo;
  QAction* mnuESaveEntry;
  QAction* mnuEEraseScreen;
  QAction* mnuEDeleteEntry;
  QAction* mnuEUndeleteEntry;
  QAction* mnuECopyPrev;
  QAction* mnuECopyLast;
  QAction* mnuEMemo;
  QAction* mnuERemoveMemo;
  QAction* mnuEPicSound;
  QMenu* mnuView;
  QAction* mnuVSelNumber;
  QAction* mnuVPrevious;
  QAction* mnuVNext;
  QAction* mnuVListRange;
  QAction* mnuVListAlpha;
  QAction* mnuVSearch;
  QAction* mnuVReplace;
  QAction* mnuVGlobalSearch;
  QAction* mnuVFindDeleted;
  QAction* mnuVCatalogTable;
  QAction* mnuVSpeed1;
  QAction* mnuVSpeed2;
  QAction* mnuVSpeed3;
  QAction* mnuVShowBMP;
  QAction* mnuVPlayWav;
  QAction* mnuVThumbnail;
  QAction* mnuVTotals;
  QMenu* mnuReports;
  QAction* mnuOSetup;
  QAction* mnuRSelectLayout;
  QAction* mnuRPrintPreview;
  QMenu* mnuUtilities;
  QAction* mnuUReIndex;
  QAction* mnuUSort;
  QAction* mnuUCopyEntries;
  QAction* mnuUEliminateDeleted;
  QAction* mnuUSetSecurityCode;
  QAction* mnuUSetupMacro;
  QMenu* mnuHelp;
  QAction* mnuHContents;
  QAction* mnuHAbout;

  void cmdPrevious_Click();
  void cmdNext_Click();
  void cmdCopyLast_Click();
  void cmdDelete_Click();
  void cmdSave_Click();
  void cmdClear_Click();
  void mnuFExit_Click();
  void mnuESaveEntry_Click();
  void mnuEEraseScreen_Click();
  void mnuEDeleteEntry_Click();
  void mnuEUndeleteEntry_Click();
  void mnuECopyPrev_Click();
  void mnuECopyLast_Click();
  void mnuVSelNumber_Click();
  void mnuVPrevious_Click();
  void mnuVNext_Click();
  void mnuVTotals_Click();
  void mnuOSetup_Click();
  void mnuRSelectLayout_Click();
  void mnuRPrintPreview_Click();
  void mnuVReplace_Click();
  void mnuVSearch_Click();
  void mnuVListRange_Click();
  void mnuVListAlpha_Click();
  void mnuVGlobalSearch_Click();
  void mnuVFindDeleted_Click();
  void mnuVCatalogTable_Click();
  void mnuVSpeed1_Click();
  void mnuVSpeed2_Click();
  void mnuVSpeed3_Click();
  void cmdAlpha_Click();
  void cmdSequential_Click();
  void mnuUReIndex_Click();
  void mnuFCatalogMaintenance_Click();
  void mnuUSort_Click();
  void mnuUCopyEntries_Click();
  void mnuUEliminateDeleted_Click();
  void mnuUSetSecurityCode_Click();
  void mnuFPrintSetup_Click();
  void mnuVPrintEntry_Click();
  void mnuFEjectPage_Click();
  void mnuFImportCsv_Click();
  void mnuFExportCsv_Click();
  void mnuFExportSpreadsheet_Click();
  void mnuHContents_Click();
  void mnuHAbout_Click();
  void mnuEMemo_Click();
  void mnuEUndo_Click();
  void mnuERedo_Click();
  void mnuERemoveMemo_Click();
  void mnuEPicSound_Click();
  void mnuVShowBMP_Click();
  void mnuVPlayWav_Click();
  void mnuVThumbnail_Click();
  void mnuUSetupMacro_Click();

 protected:
  // The main window sees the boxes' keys first: Enter, Insert, Ctrl+F3 and Ctrl+Page Down.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenus();
  void CreateButtons();
  void CreateFieldControls();
  void CreateStatusBar();
  // A menu item; one without a handler belongs to a feature still to come and stays disabled.
  QAction* AddItem(QMenu* menu, const char* caption, void (frmVRKMain::*handler)() = nullptr);
  void Enable(QObject* control, bool enabled);
  void PaintEntryScreen(QPainter& painter);
  int RowTop(int row) const;
  int EntryScreenHeight() const;
  // Runs one command on the program; a command asked for while another runs (through the events
  // that long operations let through) is ignored.
  void Run(const std::function<void(Program&)>& command);
  // Edit > Undo and Redo say what they will do, and are enabled when they have it.
  void ShowUndoItems();
  void SwitchInsertMode();
  // A speed-search item: the field the layout gave it, searched with the text the user types.
  void SpeedSearch(std::size_t item);
  bool OnBoxKey(int box, QEvent* event);
  // Alt with a digit or a letter types its macro; false for a key left to the menus.
  bool OnMacroKey(const QKeyEvent& key);

  QtUi& ui_;
  Program* program_ = nullptr;
  bool running_ = false;
  QSet<QObject*> unbuilt_;
  std::map<Panel, QLabel*> panels_;
  ScreenLayout layout_;
  double charWidth_ = 0;  // CW: the box font's advance, fractional
  int boxHeight_ = 0;
  int boxLeft_ = 0;
  QPointer<frmBldIndex> saving_;
  QPointer<frmHelp> help_;
};

}  // namespace vrk
