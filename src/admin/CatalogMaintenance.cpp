#include "admin/CatalogMaintenance.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "admin/CatalogSetup.h"
#include "admin/EditCatalog.h"
#include "catalog/EntryFile.h"
#include "catalog/Journal.h"
#include "dbase/DbfImport.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/LongOperation.h"
#include "platform/Paths.h"
#include "platform/Programs.h"

namespace vrk {
namespace {

std::string Highlighted(const CatalogMaintenance& m) {
  return m.highlighted < 0 ? std::string() : m.lines[static_cast<std::size_t>(m.highlighted)].name;
}

std::optional<std::string> AskCatalogName(Ui& ui, const std::string& caption) {
  std::optional<std::string> name =
      ui.AskName({.caption = caption, .question = "Enter New Catalog Name", .maxLength = 8});
  if (name) *name = UpperAscii(*name);
  return name;
}

// True, after the beep and "Catalog already exists. … Aborted.", when NAME.DAT is there once a rename
// or removal of that name left half done is finished, or when NAME's index files would be another
// catalog's than `self`'s; true too, after its message, when finishing failed.
bool CatalogExists(CatalogMaintenance& m, const std::string& name, const std::string& command,
                   const std::string& self = "") {
  if (!FinishJournals(m.store.ui, m.store.fileSystem, m.directory, name)) return true;
  const bool exists = FileExists(m.directory + "/" + name + ".DAT");
  const std::string clash = exists ? "" : IndexNameClash(m.directory, name, self);
  if (!exists && clash.empty()) return false;
  m.store.ui.Beep();
  m.store.ui.Message((exists ? "Catalog already exists." : clash) + " " + command + " Aborted.");
  return true;
}

void AddLine(CatalogMaintenance& m, const CatalogLine& line) {
  const auto at =
      std::find_if(m.lines.begin(), m.lines.end(), [&](const CatalogLine& l) { return l.name >= line.name; });
  const auto inserted = (at != m.lines.end() && at->name == line.name) ? (*at = line, at) : m.lines.insert(at, line);
  m.highlighted = static_cast<int>(inserted - m.lines.begin());
}

void RemoveLine(CatalogMaintenance& m, const std::string& name) {
  std::erase_if(m.lines, [&](const CatalogLine& line) { return line.name == name; });
  m.highlighted = m.lines.empty() ? -1 : 0;
}

// A catalog's layout and header, read in a store of its own so that the current catalog's formulas stay.
bool ReadLayout(CatalogMaintenance& m, const std::string& name, CatalogLayout& layout, CatalogHeader& header) {
  CatalogStore other(m.store.ui, m.store.fileSystem);
  if (!ReadSetup(other, m.directory, name, other.fieldTable, header)) {
    m.store.ui.Message("Error loading catalog " + name);
    return false;
  }
  layout = {other.fieldTable, header.FieldLength, other.formulaTable};
  return true;
}

bool EditLayout(CatalogStore& store, const std::string& name, CatalogLayout& layout) {
  CatalogSetup setup{"Catalog Setup  (" + name + ")", layout};
  if (!store.ui.dialogs.Show(setup)) return false;
  layout = setup.layout;
  return true;
}

enum class Hold { kLock, kLockForWriting, kOpen };

// The store that may change the catalog: the program's own for its current catalog, which it holds
// already, else `other`, which takes the catalog's lock (and opens it for a change with kOpen). Null
// after the message why it may not be changed.
CatalogStore* Holder(CatalogMaintenance& m, const std::string& name, CatalogStore& other, Hold hold) {
  if (IsCurrentCatalog(m.store, m.directory, name)) {
    if (m.store.writable) return &m.store;
    m.store.ui.Message(name + " is opened for reading only.", Icon::Exclamation);
    return nullptr;
  }
  other.programDirectory = m.store.programDirectory;
  if (hold != Hold::kOpen)
    return HoldCatalog(other, m.directory, name, hold == Hold::kLockForWriting) ? &other : nullptr;
  other.catalogDirectory = m.directory;
  other.catalogName = name;
  other.entryFile = OpenCatalog(other, m.directory, name, CatalogAccess::kChange);
  return other.entryFile != 0 ? &other : nullptr;
}

bool Failed(Ui& ui, int error, const std::string& path) {
  ReportFileError(ui, FileFailureFromErrno(error, path));
  return false;
}

}  // namespace

std::string CatalogLineText(const CatalogLine& line) {
  std::string text = line.name;
  text.resize(std::max<std::size_t>(text.size(), 8), ' ');
  return text + "\t" + std::to_string(line.entries);
}

void BuildCatalogList(CatalogMaintenance& m) {
  m.lines = ListCatalogs(m.store, m.directory);
  m.highlighted = m.lines.empty() ? -1 : 0;
  for (std::size_t i = 0; i < m.lines.size(); ++i) {
    if (IsCurrentCatalog(m.store, m.directory, m.lines[i].name)) {
      m.highlighted = static_cast<int>(i);
      m.currentName = m.lines[i].name;
    }
  }
}

void ChangeMaintenanceDirectory(CatalogMaintenance& m, const std::string& directory) {
  m.directory = directory;
  BuildCatalogList(m);
}

bool LineCommandsEnabled(const CatalogMaintenance& m) { return !m.lines.empty(); }

bool ChangingCommandsEnabled(const CatalogMaintenance& m) { return !m.readOnly; }

bool SelectOrKeep(CatalogStore& store, CurrentCatalog& current, const std::string& directory, const std::string& name) {
  const std::string previousDirectory = store.catalogDirectory;
  const std::string previousName = store.CatalogOpen() ? store.catalogName : std::string();
  if (current.Select(directory, name)) return true;
  store.ui.Message("The default catalog is invalid or missing. No catalog selected.", Icon::Exclamation);
  if (!previousName.empty()) (void)current.Select(previousDirectory, previousName);
  return false;
}

void SelectCatalog(CatalogMaintenance& m) {
  const std::string name = Highlighted(m);
  if (name.empty()) return;
  (void)SelectOrKeep(m.store, m.current, m.directory, name);
  m.currentName = m.store.CatalogOpen() ? m.store.catalogName : std::string();
}

void NewCatalog(CatalogMaintenance& m) {
  if (m.readOnly) return;
  Ui& ui = m.store.ui;
  const std::optional<std::string> name = AskCatalogName(ui, "New Catalog");
  if (!name || CatalogExists(m, *name, "NEW")) return;
  CatalogLayout layout;
  const std::string highlighted = Highlighted(m);
  CatalogHeader header;
  if (!highlighted.empty() &&
      ui.ShowMessage({"Copy format from highlighted catalog " + UpperAscii(highlighted) + "?", kAppTitle,
                      Buttons::YesNo, Icon::Question}) == Answer::Yes &&
      !ReadLayout(m, highlighted, layout, header)) {
    return;
  }
  if (EditLayout(m.store, *name, layout) && MakeCatalog(m.store, m.directory, *name, layout)) AddLine(m, {*name, 0});
}

void EditCatalog(CatalogMaintenance& m) {
  const std::string name = Highlighted(m);
  if (m.readOnly || name.empty()) return;
  CatalogLayout layout;
  CatalogHeader header;
  if (!ReadLayout(m, name, layout, header) || !EditLayout(m.store, name, layout)) return;
  CatalogStore other(m.store.ui, m.store.fileSystem);
  CatalogStore* held = Holder(m, name, other, Hold::kOpen);
  if (held == nullptr) return;
  (void)ChangeLayout(*held, layout);  // a failure has had its message, and the catalog is as it was
  if (held == &other) (void)CloseCatalog(other, other.entryFile);
}

void RenameCatalog(CatalogMaintenance& m) {
  const std::string name = Highlighted(m);
  if (m.readOnly || name.empty()) return;
  const std::optional<std::string> newName = AskCatalogName(m.store.ui, "Rename Catalog");
  if (!newName || CatalogExists(m, *newName, "Rename", name)) return;
  CatalogStore other(m.store.ui, m.store.fileSystem);
  CatalogStore* held = Holder(m, name, other, Hold::kLock);
  if (held == nullptr || !RenameCatalogFiles(*held, m.directory, name, *newName)) return;
  if (held == &m.store) {
    m.current.Renamed(*newName);
    m.currentName = *newName;
  }
  const EntryNumber entries = m.lines[static_cast<std::size_t>(m.highlighted)].entries;
  RemoveLine(m, name);
  AddLine(m, {*newName, entries});
}

void DeleteCatalog(CatalogMaintenance& m) {
  const std::string name = Highlighted(m);
  if (m.readOnly || name.empty()) return;
  if (m.store.ui.ShowMessage({"Really want to delete catalog " + name + "?", kAppTitle, Buttons::YesNo, Icon::Question,
                              true}) != Answer::Yes) {
    return;
  }
  CatalogStore other(m.store.ui, m.store.fileSystem);
  CatalogStore* held = Holder(m, name, other, Hold::kLock);
  if (held == nullptr) return;
  (void)RemoveCatalogFiles(*held, m.directory, name);  // what could not be removed has been said
  if (FileExists(m.directory + "/" + name + ".DAT")) return;
  if (held == &m.store) {
    m.current.Removed();
    m.currentName.clear();
  }
  RemoveLine(m, name);
}

void BackupCatalog(CatalogMaintenance& m) {
  const std::string name = Highlighted(m);
  if (name.empty()) return;
  // The backup program takes the catalog's lock to read it whole.
  const bool current = IsCurrentCatalog(m.store, m.directory, name);
  if (current) m.current.Close();
  (void)RunBackup(m.store.ui, m.directory, name);
  if (current) m.current.Reopen();
}

void ReserveSpace(CatalogMaintenance& m) {
  const std::string name = Highlighted(m);
  if (m.readOnly || name.empty()) return;
  Ui& ui = m.store.ui;
  const std::optional<std::string> typed =
      ui.AskNumber({.caption = "Reserve Space",
                    .question = "Enter the number of additional entries for which to reserve space.",
                    .maxLength = 4});
  if (!typed) return;
  EntryNumber count = 0;
  for (const char c : *typed) count = count * 10 + (c - '0');
  CatalogLayout layout;
  CatalogHeader header;
  if (!ReadLayout(m, name, layout, header)) return;
  if (ui.ShowMessage({ReservedSizeText(count, header.EntryLength) + " K will be used. Proceed?", kAppTitle,
                      Buttons::YesNo, Icon::Question}) != Answer::Yes) {
    return;
  }
  CatalogStore other(ui, m.store.fileSystem);
  CatalogStore* held = Holder(m, name, other, Hold::kLockForWriting);
  if (held == nullptr) return;
  // Read once the lock is held: the catalog may have grown meanwhile.
  if (held == &other && !ReadSetup(other, m.directory, name, other.fieldTable, other.header)) return;
  (void)ReserveEntrySlots(*held, count);
}

void ImportDbase(CatalogMaintenance& m) {
  if (m.readOnly) return;
  Ui& ui = m.store.ui;
  const std::optional<std::string> path =
      ui.ChooseOpenFile({.title = "Open", .filter = "DBase III File (*.dbf)|*.dbf", .directory = m.directory});
  if (!path) return;
  const std::optional<std::string> name = AskCatalogName(ui, "New Catalog");
  if (!name || CatalogExists(m, *name, "Import")) return;
  DbfEngine engine;
  engine.system = &m.store.fileSystem;
  (void)ImportDBF(m.store, engine, *path, *name, m.directory);  // what went wrong has been said
  CatalogLayout layout;
  CatalogHeader header;
  if (FileExists(m.directory + "/" + *name + ".DAT") && ReadLayout(m, *name, layout, header)) {
    AddLine(m, {*name, header.Count()});
  }
}

bool RenameCatalogFiles(CatalogStore& holder, const std::string& directory, const std::string& name,
                        const std::string& newName) {
  Ui& ui = holder.ui;
  const std::vector<std::string> from = CatalogFileNames(name), to = CatalogFileNames(newName);
  const std::size_t files = kCatalogExtensions.size();
  // Nothing of another catalog is ever replaced.
  for (std::size_t i = 0; i < files; ++i) {
    if (FileExists(directory + "/" + from[i]) && FileExists(directory + "/" + to[i])) {
      ui.Beep();
      ui.Message("Catalog already exists. Rename Aborted.");
      return false;
    }
  }
  std::vector<JournalStep> steps;
  for (std::size_t i = 0; i < from.size(); ++i) {
    const std::string path = NativePath(directory + "/" + from[i]);
    if (from[i] == to[i] || !FileExists(path)) continue;
    // An index file of that name belongs to another catalog whose name begins alike: this catalog's
    // index goes, and is rebuilt where it is needed.
    const bool taken = i >= files && FileExists(directory + "/" + to[i]);
    steps.push_back({FileNamePart(path), taken ? std::string() : to[i]});
  }
  LongOperation busy(ui, {.busy = true});
  const bool ok = RunJournal(ui, holder.fileSystem, directory, JournalName(name, newName), steps, true);
  busy.End();
  if (ok) holder.catalogName = newName;
  return ok;
}

bool RemoveCatalogFiles(CatalogStore& holder, const std::string& directory, const std::string& name) {
  // The entry file first: once it is gone the catalog is, and the rest is finished by whoever comes next.
  std::vector<JournalStep> steps;
  for (const std::string& path : ExistingCatalogFiles(directory, name)) steps.push_back({FileNamePart(path), {}});
  const LongOperation busy(holder.ui, {.busy = true});
  return RunJournal(holder.ui, holder.fileSystem, directory, JournalName(name, {}), steps, false);
}

bool ReserveEntrySlots(CatalogStore& holder, EntryNumber count) {
  if (count <= 0) return true;
  const LongOperation busy(holder.ui, {.busy = true});
  const EntryRecord blank = BlankEntry(holder.header);
  BufferedFile& file = *holder.files.Get(holder.entryFile);
  file.BeginBatch();
  bool ok = true;
  const EntryNumber last = holder.header.Count() + count;
  for (EntryNumber n = holder.header.Count() + 1; ok && n <= last; ++n) {
    ok = WriteEntry(holder, blank, holder.header, n, holder.entryFile);
  }
  if (!file.EndBatch() || !file.Sync()) {
    if (ok) Failed(holder.ui, file.error(), holder.BasePath() + ".DAT");
    ok = false;
  }
  return ok;
}

std::string ReservedSizeText(EntryNumber count, short entryLength) {
  const float kilobytes = static_cast<float>(count) * static_cast<float>(entryLength) / 1024.0f;
  const long tenths = std::lround(static_cast<double>(kilobytes) * 10.0);
  return (tenths >= 10 ? std::to_string(tenths / 10) : std::string()) + "." +
         (tenths % 10 != 0 ? std::to_string(tenths % 10) : std::string());
}

bool RunBackup(Ui& ui, const std::string& directory, const std::string& name) {
  std::string output;
  LongOperation busy(ui, {.busy = true});
  const int status = sys::RunProgram({"vrkback", directory + "/" + name}, &output);
  busy.End();
  while (!output.empty() && (output.back() == '\n' || output.back() == ' ')) output.pop_back();
  std::replace(output.begin(), output.end(), '\n', '\r');
  const std::string said = AnsiFromUtf8(output);
  if (status == 0) {
    if (!said.empty()) ui.Message(said);
    return true;
  }
  ui.Message(said.empty() ? "The backup program vrkback could not be run." : said, Icon::Exclamation);
  return false;
}

}  // namespace vrk
