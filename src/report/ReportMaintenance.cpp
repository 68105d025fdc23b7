#include "report/ReportMaintenance.h"

#include <algorithm>

#include "catalog/Catalog.h"
#include "catalog/Files.h"
#include "platform/FileSystem.h"
#include "platform/LongOperation.h"
#include "platform/Paths.h"
#include "report/ReportDesigner.h"
#include "report/ReportSetup.h"

namespace vrk {
namespace {

constexpr std::size_t kCopyLimit = 64 * 1024;  // far beyond a format's 276 bytes: a copy reads no further

std::string& SelectedName(ReportMaintenance& maintenance) {
  return maintenance.names[static_cast<std::size_t>(maintenance.selected)];
}

// The name prompt for a new format's name, in capitals; nothing when cancelled or when a format of
// that name exists (after "Report format already exists. <what> Aborted.").
std::optional<std::string> AskNewName(ReportMaintenance& maintenance, const char* caption, const char* question,
                                      const char* what) {
  Ui& ui = maintenance.store.ui;
  const auto typed = ui.AskName({.caption = caption, .question = question, .maxLength = kMaxReportNameLength});
  if (!typed || !IsReportName(*typed)) return std::nullopt;
  const std::string name = UpperAscii(*typed);
  if (!FileExists(ReportFormatPath(maintenance.store.programDirectory, name))) return name;
  ui.Beep();
  ui.Message(std::string("Report format already exists. ") + what + " Aborted.");
  return std::nullopt;
}

// Opens the designer on the designer copy; true when it was confirmed.
bool Design(ReportMaintenance& maintenance, const std::string& caption) {
  Ui& ui = maintenance.store.ui;
  ReportDesigner designer(ui, maintenance.store, maintenance.designer, caption);
  const bool confirmed = ui.dialogs.Show(designer);
  ui.dialogCancel = confirmed ? 0 : -1;
  return confirmed;
}

// Reads a format for Select and Edit Report, its widths lowered to the current catalog's fields.
bool ReadClamped(CatalogStore& store, const std::string& name, ReportFormat& format) {
  if (ReadReportFormat(store, name, format)) {
    ClampItemWidths(store, format);
    return true;
  }
  store.ui.Beep();
  store.ui.Message("Report is invalid.", Icon::Exclamation);
  return false;
}

}  // namespace

std::vector<std::string> ListReportFormats(const std::string& programDirectory) {
  std::vector<std::string> files, names;
  (void)sys::ListDirectory(programDirectory, files);  // a directory that cannot be read lists nothing
  for (const std::string& file : files) {
    if (file.size() > 4 && UpperAscii(file.substr(file.size() - 4)) == ".FMT" &&
        FileExists(programDirectory + "/" + file)) {
      names.push_back(UpperAscii(file.substr(0, file.size() - 4)));
    }
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

void BuildReportList(ReportMaintenance& maintenance) {
  maintenance.names = ListReportFormats(maintenance.store.programDirectory);
  const auto current =
      std::find(maintenance.names.begin(), maintenance.names.end(), maintenance.store.reportFormatName);
  maintenance.selected = maintenance.names.empty()            ? -1
                         : current != maintenance.names.end() ? static_cast<int>(current - maintenance.names.begin())
                                                              : 0;
}

bool ListCommandsEnabled(const ReportMaintenance& maintenance) { return maintenance.selected >= 0; }

bool ChangingCommandsEnabled(const ReportMaintenance& maintenance) { return !maintenance.readOnly; }

void NewReport(ReportMaintenance& maintenance) {
  const auto name = AskNewName(maintenance, "New Report", "Enter New Report", "NEW");
  if (!name) return;
  InitNewReportFormat(maintenance.store, maintenance.designer);
  if (!Design(maintenance, "Edit Report Format  (" + *name + ")")) return;
  if (!WriteReportFormat(maintenance.store, *name, maintenance.designer)) return;
  maintenance.names.push_back(*name);  // not selected: the buttons stay as they were
}

void CopyReport(ReportMaintenance& maintenance) {
  if (!ListCommandsEnabled(maintenance)) return;
  const auto name = AskNewName(maintenance, "Copy Report Format", "Enter New Report Name", "Copy");
  if (!name) return;
  CatalogStore& store = maintenance.store;
  LongOperation busy(store.ui, {.busy = true});
  const std::string from = ReportFormatPath(store.programDirectory, SelectedName(maintenance));
  const std::string to = ReportFormatPath(store.programDirectory, *name);
  std::string bytes;
  int error = sys::ReadFileStart(from, kCopyLimit, bytes);
  const std::string& failed = error != 0 ? from : to;
  if (error == 0) error = sys::WriteWholeFile(store.fileSystem, to, bytes);
  busy.End();
  if (error != 0) {
    ReportFileError(store.ui, FileFailureFromErrno(error, failed));
    return;
  }
  maintenance.names.push_back(*name);
}

void RenameReport(ReportMaintenance& maintenance) {
  if (!ListCommandsEnabled(maintenance)) return;
  const auto name = AskNewName(maintenance, "Rename Report", "Enter New Report Name", "Rename");
  if (!name) return;
  CatalogStore& store = maintenance.store;
  const std::string old = SelectedName(maintenance);
  const std::string to = store.programDirectory + "/" + *name + ".FMT";
  if (const int error = sys::RenameNew(store.fileSystem, ReportFormatPath(store.programDirectory, old), to)) {
    ReportFileError(store.ui, FileFailureFromErrno(error, to));
    return;
  }
  if (old == store.reportFormatName) store.reportFormatName = *name;
  maintenance.names.erase(maintenance.names.begin() + maintenance.selected);
  maintenance.names.push_back(*name);
  maintenance.selected = static_cast<int>(maintenance.names.size()) - 1;
}

void DeleteReport(ReportMaintenance& maintenance) {
  if (!ListCommandsEnabled(maintenance)) return;
  CatalogStore& store = maintenance.store;
  const std::string name = SelectedName(maintenance);
  if (store.ui.ShowMessage({"Really want to delete " + name + "?", kAppTitle, Buttons::YesNo, Icon::Question, true}) !=
      Answer::Yes) {
    return;
  }
  const std::string path = ReportFormatPath(store.programDirectory, name);
  if (const int error = sys::RemoveFile(store.fileSystem, path)) {
    ReportFileError(store.ui, FileFailureFromErrno(error, path));
    return;
  }
  maintenance.names.erase(maintenance.names.begin() + maintenance.selected);
  if (name == store.reportFormatName) {
    // The format in memory and the catalog's mark stay; only the name goes.
    store.reportFormatName.clear();
    InitNewReportFormat(store, maintenance.designer);
  }
  maintenance.selected = maintenance.names.empty() ? -1 : 0;
}

bool SelectReportFormat(CatalogStore& store, ReportState& state, const std::string& name, ReportFormat& designer) {
  if (!ReadClamped(store, name, designer)) return false;
  state.format = designer;
  store.reportFormatName = name;
  store.settings.FormatSelected = 2;
  (void)SaveReportSettings(store);  // a failure has had its message
  return true;
}

void SelectReport(ReportMaintenance& maintenance) {
  if (ListCommandsEnabled(maintenance)) {
    (void)SelectReportFormat(maintenance.store, maintenance.state, SelectedName(maintenance), maintenance.designer);
  }
}

void EditReport(ReportMaintenance& maintenance) {
  if (!ListCommandsEnabled(maintenance)) return;
  const std::string name = SelectedName(maintenance);
  if (!ReadClamped(maintenance.store, name, maintenance.designer)) return;
  bool confirmed = false;
  {
    // The designer's window clears the busy pointer once it is built.
    const LongOperation busy(maintenance.store.ui, {.busy = true});
    confirmed = Design(maintenance, "Edit Report Format   (" + name + ")");
  }
  if (!confirmed) return;
  if (!WriteReportFormat(maintenance.store, name, maintenance.designer)) return;
  if (name == maintenance.store.reportFormatName) maintenance.state.format = maintenance.designer;
}

}  // namespace vrk
