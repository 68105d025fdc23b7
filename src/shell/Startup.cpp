#include "shell/Startup.h"

#include <algorithm>

#include "admin/SecurityCode.h"
#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "index/Rebuild.h"
#include "platform/LongOperation.h"
#include "platform/Sound.h"
#include "report/ReportSetup.h"
#include "shell/Browsing.h"
#include "shell/Editing.h"
#include "shell/EntryScreen.h"
#include "shell/EntryView.h"
#include "shell/Settings.h"
#include "support/IndexFile.h"

namespace vrk {
namespace {

constexpr Command kNeedACatalog[] = {Command::EditMenu,         Command::ViewMenu, Command::ReIndex, Command::Sort,
                                     Command::EliminateDeleted, Command::Previous, Command::Next,    Command::CopyLast,
                                     Command::Delete,           Command::Save,     Command::Alpha,   Command::Clear,
                                     Command::Sequential};
constexpr Command kChangeTheCatalog[] = {Command::SaveEntryItem,
                                         Command::DeleteEntryItem,
                                         Command::UndeleteEntryItem,
                                         Command::CopyAnyPreviousItem,
                                         Command::CopyLastItem,
                                         Command::MemoItem,
                                         Command::RemoveMemoItem,
                                         Command::PictureSoundItem,
                                         Command::ReplaceItem,
                                         Command::FindDeletedItem,
                                         Command::UtilitiesMenu,
                                         Command::Clear,
                                         Command::Delete,
                                         Command::CopyLast,
                                         Command::Save};

// Loads the catalog's current report format, when one is named.
void LoadCurrentReportFormat(Program& program) { LoadCatalogReportFormat(program, program.report.format); }
// Loads the catalog's text macros from its macro file, when it has one; without one the macros stay.
void LoadCatalogMacros(Program& program) { (void)LoadMacros(program, program.macros.table); }

}  // namespace

void SetProgramDirectory(Program& program, const std::string& directory) {
  program.programDirectory = directory;
  program.catalogDirectory = directory;
  program.iniPath = directory + "/" + kIniFileName;
}

std::string ReadCurrentCatalogName(Program& program) {
  const std::string value = ReadCurrentCatalog(program);
  if (value.empty() ||
      !FileExists(value.find('/') == std::string::npos ? program.programDirectory + "/" + value + ".DAT"
                                                       : value + ".DAT")) {
    return {};
  }
  std::string name = FileNamePart(value);
  if (value.size() > name.size()) program.catalogDirectory = value.substr(0, value.size() - name.size() - 1);
  return name;
}

void OpenCurrentCatalog(Program& program) {
  const std::string name = ReadCurrentCatalogName(program);
  if (!name.empty()) UseCatalog(program, program.catalogDirectory, name, CatalogAccess::kChangeWhenAllowed);
}

bool UseCatalog(Program& program, const std::string& directory, const std::string& name, CatalogAccess access) {
  ClearHistory(program);  // the steps name entries of the catalog closed
  program.catalogDirectory = directory;
  program.entryFile = OpenCatalog(program, directory, name, access);
  if (program.entryFile <= 0) {
    program.entryFile = 0;
    program.catalogName.clear();
    return false;
  }
  program.catalogName = name;
  ReadSettings(program, name, program.settings);
  // Indexes left in doubt by a crash are rebuilt now, before anything uses them; when that cannot be
  // done here, each use of them says so.
  if (program.writable) (void)CheckKeyIndexes(program);
  return true;
}

void SetNoCatalogState(Program& program) {
  for (const Command command : kNeedACatalog) program.screen.EnableCommand(command, false);
}

void SetReadOnlyState(Program& program) {
  for (const Command command : kChangeTheCatalog) program.screen.EnableCommand(command, false);
}

bool OpenCatalogOnScreen(Program& program, const std::string& directory, const std::string& name) {
  (void)CloseCurrentCatalog(program);  // a failure has had its message
  program.catalogName.clear();
  const bool opened = UseCatalog(program, directory, name, CatalogAccess::kChangeWhenAllowed);
  ShowCurrentCatalog(program);
  return opened;
}

void ShowCurrentCatalog(Program& program) {
  if (program.CatalogOpen()) {
    LoadCurrentReportFormat(program);
    LoadCatalogMacros(program);
  }
  PresentCurrentCatalog(program);
}

void PresentCurrentCatalog(Program& program) {
  const bool open = program.CatalogOpen();
  // Rows of a catalog shown before go with it.
  const bool rows = open || std::any_of(program.header.FieldLength.begin(), program.header.FieldLength.end(),
                                        [](short length) { return length > 0; });
  if (!open) {
    program.header = {};
    program.fieldTable = DefaultFieldTable();
  }
  program.currentEntry = BlankEntry(program.header);
  program.currentField = 0;
  program.totals = {};
  for (const Command command : kNeedACatalog) program.screen.EnableCommand(command, true);
  for (const Command command : kChangeTheCatalog) program.screen.EnableCommand(command, true);
  if (!open) SetNoCatalogState(program);
  // The security code's read-only state holds with any catalog or none; a catalog only read is read-only.
  if (program.readOnly || (open && !program.writable)) SetReadOnlyState(program);
  if (rows) program.screen.LayoutEntryScreen();
  program.screen.SetPanel(Panel::Sorted, open ? SortedPanelText(program.settings) : "");
  program.screen.SetPanel(Panel::CatName, program.catalogName);
  EraseScreen(program);
  // Where no entry can be made, the last one is shown.
  if (!program.MayChange() && open) PreviousEntry(program);
}

bool PlaySound(Program& program, const std::string& path) {
  if (!FileExists(path) || !program.sound.Open(path)) return false;
  program.sound.onFinished = [&program] {
    program.playingSound.clear();
    program.sound.Close();
  };
  program.sound.Play();
  return true;
}

bool PrepareStartUp(Program& program) {
  program.report.paper = PaperOption::kContinuous;
  program.browseHandle = kNoIndex;
  program.insertMode = true;
  static_cast<void>(lib::InitIndexes());  // nothing is open before the first catalog is
  program.report.destination = ReadReportDestination(program);
  switch (CheckSecurityCode(program)) {
    case SecurityCheck::kDenied: return false;
    case SecurityCheck::kReadOnly: program.readOnly = true; break;
    case SecurityCheck::kPassed: break;
  }
  PlaySound(program, program.catalogDirectory + "/" + kStartSoundFile);
  program.search.mode = ReadSearchMode(program);
  return true;
}

void OpenStartCatalog(Program& program) {
  LongOperation busy(program.ui, {.busy = true});
  OpenCurrentCatalog(program);
  program.screen.SetPanel(Panel::RptDest, ReportDestinationLabel(program.report.destination));
  ShowCurrentCatalog(program);
  busy.End();
  program.ui.DoEvents();
}

bool CloseCurrentCatalog(Program& program) {
  if (!program.CatalogOpen()) return true;
  CloseBrowseIndex(program);
  const bool changeable = program.writable;
  bool written = CloseCatalog(program, program.entryFile);
  program.entryFile = 0;
  if (changeable) written = WriteSettings(program, program.catalogName, program.settings) && written;
  return written;
}

bool ShutDown(Program& program) {
  program.sound.Close();
  CloseBrowseIndex(program);
  if (!program.CatalogOpen()) return false;
  (void)CloseCurrentCatalog(program);  // a failure has had its message
  return true;
}

}  // namespace vrk
