#include "ui/frmVRKMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QtMath>

#include "report/Totals.h"
#include "shell/Browsing.h"
#include "shell/CatalogTable.h"
#include "shell/Editing.h"
#include "shell/Maintenance.h"
#include "shell/Memos.h"
#include "shell/PictureSound.h"
#include "shell/Printing.h"
#include "shell/Program.h"
#include "shell/Replacing.h"
#include "shell/Reports.h"
#include "shell/SearchCommands.h"
#include "shell/Searching.h"
#include "shell/Spreadsheets.h"
#include "shell/Startup.h"
#include "shell/TextMacros.h"
#include "shell/UndoHistory.h"
#include "shell/Utilities.h"
#include "ui/EntryBox.h"
#include "ui/Pictures.h"
#include "ui/QtUi.h"
#include "ui/Text.h"
#include "ui/WindowTools.h"
#include "ui/frmAbout.h"
#include "ui/frmBldIndex.h"
#include "ui/frmCatalogTable.h"
#include "ui/frmHelp.h"

namespace vrk {
namespace {

// Where the rows start and how they are spaced, in pixels.
constexpr int kBase = 10;
constexpr int kRowGap = 5;
constexpr int kLabelLeft = 24;  // room for the key and computed markers on the left
constexpr int kMarkerLeft = 3;
constexpr int kSumMarkerGap = 8;  // from the box's right edge, beyond its frame
constexpr int kBottomMargin = 10;

// The entry screen's own surface: the rows are placed on it and it paints their frames and markers.
class EntrySurface : public QWidget {
 public:
  EntrySurface(QWidget* parent, std::function<void(QPainter&)> paint) : QWidget(parent), paint_(std::move(paint)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    paint_(painter);
  }

 private:
  std::function<void(QPainter&)> paint_;
};

}  // namespace

frmVRKMain::frmVRKMain(QtUi& ui) : ui_(ui) {
  setWindowTitle(QString::fromLatin1(kMainCaption));
  CreateMenus();
  CreateButtons();
  CreateFieldControls();
  CreateStatusBar();
  resize(860, 640);
}

frmVRKMain::~frmVRKMain() = default;

void frmVRKMain::Attach(Program& program) {
  program_ = &program;
  ui_.runCommand = [this](const std::function<void(Program&)>& command) { Run(command); };
  ShowUndoItems();
}

void frmVRKMain::ShowUndoItems() {
  mnuEUndo->setText(QString::fromLatin1(UndoCaption(*program_)));
  mnuEUndo->setEnabled(program_->MayChange() && !program_->history.undo.empty());
  mnuERedo->setText(QString::fromLatin1(RedoCaption(*program_)));
  mnuERedo->setEnabled(program_->MayChange() && !program_->history.redo.empty());
}

QAction* frmVRKMain::AddItem(QMenu* menu, const char* caption, void (frmVRKMain::*handler)()) {
  QAction* item = menu->addAction(QString::fromLatin1(caption));
  if (handler == nullptr) {
    unbuilt_.insert(item);
    item->setEnabled(false);
  } else {
    connect(item, &QAction::triggered, this, handler);
  }
  return item;
}

void frmVRKMain::CreateMenus() {
  mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFCatalogMaintenance = AddItem(mnuFile, "&Catalog Maintenance", &frmVRKMain::mnuFCatalogMaintenance_Click);
  mnuFPrintSetup = AddItem(mnuFile, "Print &Setup", &frmVRKMain::mnuFPrintSetup_Click);
  mnuVPrintEntry = AddItem(mnuFile, "&Print Current Entry", &frmVRKMain::mnuVPrintEntry_Click);
  mnuFEjectPage = AddItem(mnuFile, "&Eject Page", &frmVRKMain::mnuFEjectPage_Click);
  mnuFile->addSeparator();
  mnuFImportCsv = AddItem(mnuFile, "&Import CSV...", &frmVRKMain::mnuFImportCsv_Click);
  mnuFExportCsv = AddItem(mnuFile, "Export CS&V...", &frmVRKMain::mnuFExportCsv_Click);
  mnuFExportSpreadsheet = AddItem(mnuFile, "Export Spreads&heet...", &frmVRKMain::mnuFExportSpreadsheet_Click);
  mnuFile->addSeparator();
  mnuFExit = AddItem(mnuFile, "E&xit", &frmVRKMain::mnuFExit_Click);

  mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
  mnuEUndo = AddItem(mnuEdit, "U&ndo", &frmVRKMain::mnuEUndo_Click);
  mnuEUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  mnuERedo = AddItem(mnuEdit, "Red&o", &frmVRKMain::mnuERedo_Click);
  mnuERedo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  mnuEdit->addSeparator();
  mnuESaveEntry = AddItem(mnuEdit, "&Save Entry", &frmVRKMain::mnuESaveEntry_Click);
  mnuEEraseScreen = AddItem(mnuEdit, "&Erase Screen", &frmVRKMain::mnuEEraseScreen_Click);
  mnuEDeleteEntry = AddItem(mnuEdit, "&Delete Entry", &frmVRKMain::mnuEDeleteEntry_Click);
  mnuEUndeleteEntry = AddItem(mnuEdit, "&Undelete Entry", &frmVRKMain::mnuEUndeleteEntry_Click);
  mnuEdit->addSeparator();
  mnuECopyPrev = AddItem(mnuEdit, "Copy &Any Previous", &frmVRKMain::mnuECopyPrev_Click);
  mnuECopyLast = AddItem(mnuEdit, "Copy &Last", &frmVRKMain::mnuECopyLast_Click);
  mnuEdit->addSeparator();
  mnuEMemo = AddItem(mnuEdit, "&Memo", &frmVRKMain::mnuEMemo_Click);
  mnuERemoveMemo = AddItem(mnuEdit, "&Remove Memo", &frmVRKMain::mnuERemoveMemo_Click);
  mnuEdit->addSeparator();
  mnuEPicSound = AddItem(mnuEdit, "&Picture/Sound", &frmVRKMain::mnuEPicSound_Click);

  mnuView = menuBar()->addMenu(QStringLiteral("&View"));
  mnuVSelNumber = AddItem(mnuView, "Select &Number", &frmVRKMain::mnuVSelNumber_Click);
  mnuVPrevious = AddItem(mnuView, "&Previous", &frmVRKMain::mnuVPrevious_Click);
  mnuVNext = AddItem(mnuView, "Ne&xt", &frmVRKMain::mnuVNext_Click);
  mnuView->addSeparator();
  mnuVListRange = AddItem(mnuView, "List &Range", &frmVRKMain::mnuVListRange_Click);
  mnuVListAlpha = AddItem(mnuView, "List &Alphabetically", &frmVRKMain::mnuVListAlpha_Click);
  mnuView->addSeparator();
  mnuVSearch = AddItem(mnuView, "&Search", &frmVRKMain::mnuVSearch_Click);
  mnuVReplace = AddItem(mnuView, "Search && Rep&lace", &frmVRKMain::mnuVReplace_Click);
  mnuVGlobalSearch = AddItem(mnuView, "&Global Search", &frmVRKMain::mnuVGlobalSearch_Click);
  mnuVFindDeleted = AddItem(mnuView, "Find &Deleted", &frmVRKMain::mnuVFindDeleted_Click);
  mnuVCatalogTable = AddItem(mnuView, "Catalog Ta&ble", &frmVRKMain::mnuVCatalogTable_Click);
  mnuVCatalogTable->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  // Captioned by the layout after the first three key fields; hidden while unassigned.
  for (auto [speed, handler] :
       {std::pair{&mnuVSpeed1, &frmVRKMain::mnuVSpeed1_Click}, std::pair{&mnuVSpeed2, &frmVRKMain::mnuVSpeed2_Click},
        std::pair{&mnuVSpeed3, &frmVRKMain::mnuVSpeed3_Click}}) {
    *speed = AddItem(mnuView, "", handler);
    (*speed)->setVisible(false);
  }
  mnuView->addSeparator();
  mnuVShowBMP = AddItem(mnuView, "Pi&cture", &frmVRKMain::mnuVShowBMP_Click);
  mnuVPlayWav = AddItem(mnuView, "So&und", &frmVRKMain::mnuVPlayWav_Click);
  mnuVThumbnail = AddItem(mnuView, "&Thumbnail", &frmVRKMain::mnuVThumbnail_Click);
  mnuVThumbnail->setCheckable(true);
  mnuVThumbnail->setChecked(true);
  mnuView->addSeparator();
  mnuVTotals = AddItem(mnuView, "T&otals", &frmVRKMain::mnuVTotals_Click);

  mnuReports = menuBar()->addMenu(QStringLiteral("&Reports"));
  mnuOSetup = AddItem(mnuReports, "&Setup", &frmVRKMain::mnuOSetup_Click);
  mnuRSelectLayout = AddItem(mnuReports, "&Report Maintenance", &frmVRKMain::mnuRSelectLayout_Click);
  mnuRPrintPreview = AddItem(mnuReports, "Print Pre&view", &frmVRKMain::mnuRPrintPreview_Click);

  mnuUtilities = menuBar()->addMenu(QStringLiteral("&Utilities"));
  mnuUReIndex = AddItem(mnuUtilities, "&ReIndex", &frmVRKMain::mnuUReIndex_Click);
  mnuUSort = AddItem(mnuUtilities, "&Sort", &frmVRKMain::mnuUSort_Click);
  mnuUCopyEntries = AddItem(mnuUtilities, "Copy &Entries", &frmVRKMain::mnuUCopyEntries_Click);
  mnuUEliminateDeleted = AddItem(mnuUtilities, "Eliminate &Deleted", &frmVRKMain::mnuUEliminateDeleted_Click);
  mnuUSetSecurityCode = AddItem(mnuUtilities, "Set Security &Code", &frmVRKMain::mnuUSetSecurityCode_Click);
  mnuUSetupMacro = AddItem(mnuUtilities, "Setup &Macro", &frmVRKMain::mnuUSetupMacro_Click);

  mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  mnuHContents = AddItem(mnuHelp, "&Contents", &frmVRKMain::mnuHContents_Click);
  mnuHelp->addSeparator();
  mnuHAbout = AddItem(mnuHelp, "&About", &frmVRKMain::mnuHAbout_Click);
}

void frmVRKMain::CreateButtons() {
  auto* central = new QWidget(this);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(4);
  const auto button = [&](QPushButton*& control, const char* caption, void (frmVRKMain::*handler)()) {
    control = new QPushButton(QString::fromLatin1(caption), central);
    control->setMinimumWidth(84);
    control->setFocusPolicy(Qt::NoFocus);  // like a toolbar's: the caret stays in the entry box
    buttons->addWidget(control);
    if (handler == nullptr) {
      unbuilt_.insert(control);
      control->setEnabled(false);
    } else {
      connect(control, &QPushButton::clicked, this, handler);
    }
  };
  button(cmdPrevious, "Previous", &frmVRKMain::cmdPrevious_Click);
  button(cmdNext, "Next", &frmVRKMain::cmdNext_Click);
  button(cmdCopyLast, "Copy Last", &frmVRKMain::cmdCopyLast_Click);
  button(cmdDelete, "Delete", &frmVRKMain::cmdDelete_Click);
  button(cmdSave, "Save", &frmVRKMain::cmdSave_Click);
  button(cmdAlpha, "Alpha ", &frmVRKMain::cmdAlpha_Click);
  button(cmdClear, "Clear", &frmVRKMain::cmdClear_Click);
  button(cmdSequential, "Sequential", &frmVRKMain::cmdSequential_Click);
  buttons->addStretch();
  // The picture areas, empty until an entry has a picture or a sound.
  for (QLabel** image : {&Image2, &Image1}) {
    *image = new QLabel(central);
    (*image)->setFixedSize(kPictureAreaSize, kPictureAreaSize);
    (*image)->setAlignment(Qt::AlignCenter);
    (*image)->installEventFilter(this);
    buttons->addWidget(*image);
  }

  scrEntries = new QScrollArea(central);
  scrEntries->setWidgetResizable(false);
  scrEntries->setFrameShape(QFrame::NoFrame);
  scrEntries->setFocusPolicy(Qt::NoFocus);
  picEntries = new EntrySurface(scrEntries, [this](QPainter& painter) { PaintEntryScreen(painter); });
  scrEntries->setWidget(picEntries);
  // Every resize of the visible part lays the rows out again, so that wide boxes fit the window.
  scrEntries->viewport()->installEventFilter(this);

  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(6, 6, 6, 0);
  layout->addLayout(buttons);
  layout->addWidget(scrEntries, 1);
  setCentralWidget(central);
}

void frmVRKMain::CreateFieldControls() {
  const QFont boxFont = BoxFont();
  const QFontMetricsF metrics(boxFont);
  charWidth_ = metrics.horizontalAdvance(QLatin1Char('W'));  // fractional, as the font advances
  boxHeight_ = QFontMetrics(boxFont).height() + 4;
  const int labelWidth = TextWidth(font(), static_cast<int>(kFieldNameLength));  // the labels' font
  boxLeft_ = kLabelLeft + labelWidth + 3 + 3;
  for (int i = 0; i < kFieldCount; ++i) {
    auto* label = new QLabel(picEntries);
    label->setTextFormat(Qt::PlainText);  // a field name is shown as typed, tags and all
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(kLabelLeft, RowTop(i), labelWidth, boxHeight_);
    label->hide();
    auto* box = new EntryBox(picEntries);
    box->setFont(boxFont);
    box->setGeometry(boxLeft_, RowTop(i), qCeil(charWidth_), boxHeight_);
    box->hide();
    box->installEventFilter(this);
    connect(box, &EntryBox::keyRefused, this, [this] { ui_.Beep(); });
    connect(box, &EntryBox::textRefused, this, [this] {
      ui_.Beep();
      ui_.Message("The text holds a character the catalog cannot keep. It was not pasted.", Icon::Exclamation);
    });
    label->setBuddy(box);
    lblFieldName[static_cast<std::size_t>(i)] = label;
    txtFieldData[static_cast<std::size_t>(i)] = box;
  }
  picEntries->resize(boxLeft_ + qCeil(charWidth_ * 10), EntryScreenHeight());
}

void frmVRKMain::CreateStatusBar() {
  StatusBar1 = statusBar();
  StatusBar1->setSizeGripEnabled(true);
  const struct {
    Panel panel;
    int width;  // in characters of the window's font
    int stretch;
  } panels[] = {{Panel::Entry, 14, 0},  {Panel::CatName, 12, 0}, {Panel::Deleted, 10, 0},
                {Panel::Sorted, 10, 0}, {Panel::RptDest, 14, 0}, {Panel::SearchMode, 16, 1}};
  const int average = fontMetrics().averageCharWidth();
  for (const auto& [panel, width, stretch] : panels) {
    auto* label = new QLabel(StatusBar1);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(width * average);
    label->setContentsMargins(4, 0, 4, 0);
    StatusBar1->addPermanentWidget(label, stretch);
    panels_[panel] = label;
  }
}

int frmVRKMain::RowTop(int row) const { return kBase + row * (boxHeight_ + kRowGap); }

int frmVRKMain::EntryScreenHeight() const {
  return vrk::EntryScreenHeight(layout_, kBase, boxHeight_ + kRowGap, boxHeight_, kBottomMargin);
}

std::string frmVRKMain::BoxText(int box) const {
  return FromQString(txtFieldData[static_cast<std::size_t>(box)]->text());
}

void frmVRKMain::SetBoxText(int box, const std::string& text) {
  txtFieldData[static_cast<std::size_t>(box)]->setText(ToQString(text));
}

void frmVRKMain::SetPanel(Panel panel, const std::string& text) { panels_.at(panel)->setText(ToQString(text)); }

QString frmVRKMain::PanelText(Panel panel) const { return panels_.at(panel)->text(); }

void frmVRKMain::Enable(QObject* control, bool enabled) {
  enabled = enabled && !unbuilt_.contains(control);
  if (auto* item = qobject_cast<QAction*>(control)) {
    item->setEnabled(enabled);
  } else if (auto* widget = qobject_cast<QWidget*>(control)) {
    widget->setEnabled(enabled);
  }
}

void frmVRKMain::EnableCommand(Command command, bool enabled) {
  switch (command) {
    case Command::EditMenu: return Enable(mnuEdit->menuAction(), enabled);
    case Command::ViewMenu: return Enable(mnuView->menuAction(), enabled);
    case Command::UtilitiesMenu: return Enable(mnuUtilities->menuAction(), enabled);
    case Command::SaveEntryItem: return Enable(mnuESaveEntry, enabled);
    case Command::DeleteEntryItem: return Enable(mnuEDeleteEntry, enabled);
    case Command::UndeleteEntryItem: return Enable(mnuEUndeleteEntry, enabled);
    case Command::CopyAnyPreviousItem: return Enable(mnuECopyPrev, enabled);
    case Command::CopyLastItem: return Enable(mnuECopyLast, enabled);
    case Command::MemoItem: return Enable(mnuEMemo, enabled);
    case Command::RemoveMemoItem: return Enable(mnuERemoveMemo, enabled);
    case Command::PictureSoundItem: return Enable(mnuEPicSound, enabled);
    case Command::PictureItem: return Enable(mnuVShowBMP, enabled);
    case Command::SoundItem: return Enable(mnuVPlayWav, enabled);
    case Command::ReplaceItem: return Enable(mnuVReplace, enabled);
    case Command::FindDeletedItem: return Enable(mnuVFindDeleted, enabled);
    case Command::ReIndex: return Enable(mnuUReIndex, enabled);
    case Command::Sort: return Enable(mnuUSort, enabled);
    case Command::EliminateDeleted: return Enable(mnuUEliminateDeleted, enabled);
    case Command::Previous: return Enable(cmdPrevious, enabled);
    case Command::Next: return Enable(cmdNext, enabled);
    case Command::CopyLast: return Enable(cmdCopyLast, enabled);
    case Command::Delete: return Enable(cmdDelete, enabled);
    case Command::Save: return Enable(cmdSave, enabled);
    case Command::Alpha: return Enable(cmdAlpha, enabled);
    case Command::Clear: return Enable(cmdClear, enabled);
    case Command::Sequential: return Enable(cmdSequential, enabled);
  }
}

void frmVRKMain::FocusBox(int box) { txtFieldData[static_cast<std::size_t>(box)]->setFocus(); }

void frmVRKMain::LayoutEntryScreen() {
  if (program_ == nullptr) return;
  layout_ = LayOutRows(*program_);
  const int windowWidth = scrEntries->viewport()->width() - kSumMarkerGap - kMarkerSize;
  QWidget* previous = nullptr;
  for (int i = 0; i < kScreenRows; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const RowLayout& row = layout_.rows[at];
    QLabel* label = lblFieldName[at];
    EntryBox* box = txtFieldData[at];
    label->setVisible(row.visible);
    box->setVisible(row.visible);
    if (!row.visible) continue;
    box->setReadOnly(row.locked || !program_->MayChange());
    label->setText(ToCaption(RightTrim(program_->fieldTable[at].Name)));
    const int width = BoxWidth(row.length, charWidth_, box->TextOverhead(), boxLeft_, windowWidth);
    box->setGeometry(boxLeft_, RowTop(i), width, boxHeight_);
    // A computed value may be longer than the field; only typing is held to the field's length.
    box->setMaxLength(row.locked ? 32767 : row.length);
    if (previous != nullptr) setTabOrder(previous, box);
    previous = box;
  }
  txtFieldData[kMediaField]->hide();
  const std::array<QAction*, kSpeedSearchEntries> speed = {mnuVSpeed1, mnuVSpeed2, mnuVSpeed3};
  for (std::size_t k = 0; k < speed.size(); ++k) {
    const bool assigned = k < layout_.speedSearchFields.size();
    speed[k]->setVisible(assigned);
    if (assigned) {
      const auto field = static_cast<std::size_t>(layout_.speedSearchFields[k]);
      speed[k]->setText(QStringLiteral("Search for ") + lblFieldName[field]->text());
    }
  }
  int right = boxLeft_ + qCeil(charWidth_);
  for (int i = 0; i < kScreenRows; ++i) {
    if (layout_.rows[static_cast<std::size_t>(i)].visible) {
      right = std::max(right, txtFieldData[static_cast<std::size_t>(i)]->geometry().right());
    }
  }
  // As high as the rows shown need, so that a short layout gets no scroll bar.
  picEntries->resize(std::max(scrEntries->viewport()->width(), right + kSumMarkerGap + kMarkerSize + 4),
                     EntryScreenHeight());
  picEntries->update();
}

void frmVRKMain::PaintEntryScreen(QPainter& painter) {
  static const QPixmap key = KeyMarker();
  static const QPixmap sum = SumMarker();
  static const QPixmap calc = CalcMarker();
  for (int i = 0; i < kScreenRows; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const EntryBox* box = txtFieldData[at];
    if (box->isHidden()) continue;
    DrawBoxFrame(painter, box->geometry(), box->palette().color(QPalette::Base));
    const RowLayout& row = layout_.rows[at];
    const int top = lblFieldName[at]->y() + (boxHeight_ - kMarkerSize) / 2;
    if (row.keyMarker) painter.drawPixmap(kMarkerLeft, top, key);
    if (row.calcMarker) painter.drawPixmap(kMarkerLeft, top, calc);
    if (row.sumMarker) painter.drawPixmap(box->geometry().right() + kSumMarkerGap, top - 1, sum);
  }
}

void frmVRKMain::ShowSavingWindow(EntryNumber n) {
  CloseSavingWindow();
  saving_ = new frmBldIndex(this);
  saving_->setWindowTitle(QStringLiteral("Saving..."));
  saving_->lblFieldName->clear();
  saving_->lblRecNum->setText(QString::number(n));
  saving_->adjustSize();
  CenterWindow(*saving_);
  saving_->show();
  saving_->repaint();
}

frmBldIndex* frmVRKMain::SavingWindow() const { return saving_.data(); }

void frmVRKMain::CloseSavingWindow() {
  if (saving_ == nullptr) return;
  // Where the window system gave the saving window the focus, typing goes on in the main window.
  const bool wasActive = saving_->isActiveWindow();
  delete saving_.data();
  if (wasActive) activateWindow();
}

void frmVRKMain::RefreshStatusBar() { StatusBar1->repaint(); }

bool frmVRKMain::ShowThumbnail(const std::string& path) {
  const bool shown = program_ == nullptr || program_->thumbnail;
  mnuVThumbnail->setChecked(shown);
  Image1->setVisible(shown);
  Image1->clear();
  if (path.empty()) return true;
  const QImage picture = LoadPicture(path);
  if (picture.isNull()) return false;
  Image1->setPixmap(Thumbnail(picture, Image1->size(), devicePixelRatioF()));
  return true;
}

void frmVRKMain::ShowSoundPicture(bool shown) {
  if (shown) {
    Image2->setPixmap(SoundPicture(kPictureAreaSize, devicePixelRatioF()));
  } else {
    Image2->clear();
  }
}

// Each character goes to the focused box as a key of its own, so that the box takes it as typed
// (overtype and the field's length included); none of them is a command.
void frmVRKMain::TypeText(const std::string& text) {
  for (const QChar c : ToQString(text)) {
    QWidget* focused = focusWidget();  // the window's, also while a menu or another window is active
    if (focused == nullptr) return;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(focused, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(focused, &release);
  }
}

void frmVRKMain::Run(const std::function<void(Program&)>& command) {
  if (program_ == nullptr || running_) return;
  running_ = true;
  command(*program_);
  running_ = false;
  ShowUndoItems();  // every command may have made a step or forgotten the history
  if (ui_.catalogTable != nullptr) ui_.catalogTable->ShowChanges();
}

void frmVRKMain::SwitchInsertMode() {
  program_->insertMode = !program_->insertMode;
  for (EntryBox* box : txtFieldData) box->SetOvertype(!program_->insertMode);
}

bool frmVRKMain::OnBoxKey(int box, QEvent* event) {
  const auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  if (event->type() == QEvent::KeyRelease) {
    if (key->key() != Qt::Key_Insert || modifiers != Qt::NoModifier || key->isAutoRepeat()) return false;
    SwitchInsertMode();
    return true;
  }
  if (modifiers == Qt::AltModifier && OnMacroKey(*key)) return true;
  // The boxes keep no typing history of their own: Ctrl+Z and Ctrl+Shift+Z are the Edit menu's.
  if (key->key() == Qt::Key_Z &&
      (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))) {
    QAction* command = modifiers == Qt::ControlModifier ? mnuEUndo : mnuERedo;
    if (command->isEnabled()) command->trigger();
    return true;
  }
  if (key->key() == Qt::Key_F3 && modifiers == Qt::ControlModifier) {
    Run(CopyFieldFromPrevious);
    return true;
  }
  if (key->key() == Qt::Key_PageDown && modifiers == Qt::ControlModifier) {
    mnuVShowBMP->trigger();  // the Picture command, when the entry has a picture
    return true;
  }
  if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
    std::array<bool, kFieldCount> visible{};
    for (int i = 0; i < kFieldCount; ++i)
      visible[static_cast<std::size_t>(i)] = !txtFieldData[static_cast<std::size_t>(i)]->isHidden();
    FocusBox(NextVisibleBox(visible, box));
    return true;
  }
  return false;
}

bool frmVRKMain::OnMacroKey(const QKeyEvent& key) {
  const int code = key.key();
  const bool keypad = key.modifiers().testFlag(Qt::KeypadModifier);
  if (keypad || !((code >= Qt::Key_0 && code <= Qt::Key_9) || (code >= Qt::Key_A && code <= Qt::Key_Z))) return false;
  if (running_) return true;  // a macro is being typed
  bool expanded = false;
  Run([&](Program& program) { expanded = ExpandMacro(program, static_cast<char>(code)); });
  return expanded;
}

bool frmVRKMain::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == Image1 || watched == Image2) && event->type() == QEvent::MouseButtonPress) {
    QAction* command = watched == Image1 ? mnuVShowBMP : mnuVPlayWav;
    if (command->isEnabled()) command->trigger();
    return true;
  }
  if (watched == scrEntries->viewport()) {
    if (event->type() == QEvent::Resize && !isMinimized() && program_ != nullptr && program_->CatalogOpen()) {
      LayoutEntryScreen();
    }
    return false;
  }
  for (int i = 0; i < kFieldCount; ++i) {
    if (watched != txtFieldData[static_cast<std::size_t>(i)] || program_ == nullptr) continue;
    if (event->type() == QEvent::FocusIn) program_->currentField = i;
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) return OnBoxKey(i, event);
    break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void frmVRKMain::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    return;
  }
  event->accept();
  if (help_ != nullptr) help_->close();
  if (ui_.catalogTable != nullptr) ui_.catalogTable->close();  // it keeps its query as it closes
  if (onClosed) onClosed();
}

void frmVRKMain::cmdPrevious_Click() { mnuVPrevious_Click(); }
void frmVRKMain::cmdNext_Click() { mnuVNext_Click(); }
void frmVRKMain::cmdCopyLast_Click() { mnuECopyLast_Click(); }
void frmVRKMain::cmdDelete_Click() { mnuEDeleteEntry_Click(); }
void frmVRKMain::cmdSave_Click() { mnuESaveEntry_Click(); }
void frmVRKMain::cmdClear_Click() { mnuEEraseScreen_Click(); }

void frmVRKMain::mnuFExit_Click() { close(); }
void frmVRKMain::mnuESaveEntry_Click() { Run(SaveEntry); }
void frmVRKMain::mnuEEraseScreen_Click() { Run(EraseScreen); }
void frmVRKMain::mnuEDeleteEntry_Click() { Run(DeleteEntry); }
void frmVRKMain::mnuEUndeleteEntry_Click() { Run(UndeleteEntry); }
void frmVRKMain::mnuECopyPrev_Click() { Run(CopyAnyPrevious); }
void frmVRKMain::mnuECopyLast_Click() { Run(CopyLast); }
void frmVRKMain::mnuVSelNumber_Click() { Run(SelectNumber); }
void frmVRKMain::mnuVPrevious_Click() { Run(PreviousEntry); }
void frmVRKMain::mnuVNext_Click() { Run(NextEntry); }
void frmVRKMain::mnuVTotals_Click() { Run(TotalsCommand); }
void frmVRKMain::mnuOSetup_Click() { Run(ReportSetupCommand); }
void frmVRKMain::mnuRSelectLayout_Click() { Run(ReportMaintenanceCommand); }
void frmVRKMain::mnuRPrintPreview_Click() { Run(PrintPreview); }
void frmVRKMain::mnuVReplace_Click() { Run(ReplaceCommand); }
void frmVRKMain::mnuVSearch_Click() { Run(SearchCommand); }
void frmVRKMain::mnuVListRange_Click() { Run(ListRangeCommand); }
void frmVRKMain::mnuVListAlpha_Click() { Run(ListAlphaCommand); }
void frmVRKMain::mnuVGlobalSearch_Click() { Run(GlobalSearchCommand); }
void frmVRKMain::mnuVCatalogTable_Click() { Run(CatalogTableCommand); }

void frmVRKMain::mnuVFindDeleted_Click() {
  Run([](Program& program) { FindDeleted(program); });
}
void frmVRKMain::mnuVSpeed1_Click() { SpeedSearch(0); }
void frmVRKMain::mnuVSpeed2_Click() { SpeedSearch(1); }
void frmVRKMain::mnuVSpeed3_Click() { SpeedSearch(2); }
void frmVRKMain::cmdAlpha_Click() { Run(AlphaCommand); }
void frmVRKMain::cmdSequential_Click() { Run(SequentialCommand); }

void frmVRKMain::SpeedSearch(std::size_t item) {
  const int field = item < layout_.speedSearchFields.size() ? layout_.speedSearchFields[item] : -1;
  Run([field](Program& program) { SpeedSearchCommand(program, field); });
}

void frmVRKMain::mnuUReIndex_Click() { Run(ReIndexCommand); }
void frmVRKMain::mnuFCatalogMaintenance_Click() { Run(CatalogMaintenanceCommand); }
void frmVRKMain::mnuUSort_Click() { Run(SortCommand); }
void frmVRKMain::mnuUCopyEntries_Click() { Run(CopyEntriesCommand); }
void frmVRKMain::mnuUEliminateDeleted_Click() { Run(EliminateDeletedCommand); }
void frmVRKMain::mnuUSetSecurityCode_Click() { Run(SetSecurityCodeCommand); }
void frmVRKMain::mnuFPrintSetup_Click() { Run(PrintSetup); }
void frmVRKMain::mnuVPrintEntry_Click() { Run(PrintCurrentEntry); }
void frmVRKMain::mnuFEjectPage_Click() { Run(EjectPage); }

void frmVRKMain::mnuFImportCsv_Click() { Run(ImportCsvCommand); }

void frmVRKMain::mnuFExportCsv_Click() { Run(ExportCsvCommand); }

void frmVRKMain::mnuFExportSpreadsheet_Click() { Run(ExportSpreadsheetCommand); }

void frmVRKMain::mnuEMemo_Click() { Run(MemoCommand); }
void frmVRKMain::mnuEUndo_Click() { Run(UndoCommand); }
void frmVRKMain::mnuERedo_Click() { Run(RedoCommand); }
void frmVRKMain::mnuERemoveMemo_Click() { Run(RemoveMemoCommand); }
void frmVRKMain::mnuEPicSound_Click() { Run(PictureSoundCommand); }
void frmVRKMain::mnuVShowBMP_Click() { Run(PictureCommand); }
void frmVRKMain::mnuVPlayWav_Click() { Run(SoundCommand); }
void frmVRKMain::mnuVThumbnail_Click() { Run(ThumbnailCommand); }
void frmVRKMain::mnuUSetupMacro_Click() { Run(SetupMacroCommand); }

void frmVRKMain::mnuHContents_Click() {
  if (help_ == nullptr) help_ = new frmHelp(this);
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void frmVRKMain::mnuHAbout_Click() {
  frmAbout about(ui_, this);
  ui_.RunModal(about);
}

}  // namespace vrk
