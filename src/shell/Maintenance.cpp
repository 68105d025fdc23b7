#include "shell/Maintenance.h"

#include <string>
#include <vector>

#include "admin/CatalogMaintenance.h"
#include "catalog/Catalog.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "shell/Editing.h"
#include "shell/Settings.h"
#include "shell/Startup.h"
#include "shell/UndoHistory.h"

namespace vrk {
namespace {

// The current catalog as Catalog Maintenance changes it: VRK.INI follows each change.
class ProgramCatalog : public CurrentCatalog {
 public:
  explicit ProgramCatalog(Program& program) : program_(program) {}

  bool Select(const std::string& directory, const std::string& name) override {
    if (!OpenCatalogOnScreen(program_, directory, name)) return false;
    (void)WriteCurrentCatalog(program_, program_.BasePath());  // a failure has had its message
    return true;
  }

  void Close() override {
    directory_ = program_.catalogDirectory;
    name_ = program_.catalogName;
    (void)CloseCurrentCatalog(program_);  // a failure has had its message
  }

  void Reopen() override { (void)UseCatalog(program_, directory_, name_, CatalogAccess::kChangeWhenAllowed); }

  void Renamed(const std::string& name) override {
    program_.catalogName = name;
    (void)WriteCurrentCatalog(program_, program_.BasePath());
  }

  void Removed() override {
    (void)program_.files.Close(program_.entryFile);  // its files are gone: nothing is left to store
    program_.entryFile = 0;
    program_.writable = false;
    program_.catalogName.clear();
    (void)WriteCurrentCatalog(program_, "");
    SetNoCatalogState(program_);
  }

 private:
  Program& program_;
  std::string directory_;
  std::string name_;
};

}  // namespace

bool SelectCatalogByPath(Program& program, const std::string& path) {
  std::string directory, name;
  if (!SplitCatalogPath(path, directory, name)) {
    program.ui.Message(PathText(path) + " is not a catalog.", Icon::Exclamation);
    return false;
  }
  ProgramCatalog current(program);
  return SelectOrKeep(program, current, directory, name);
}

void StoreCurrentCatalog(Program& program) {
  if (!program.CatalogOpen() || !program.writable) return;
  (void)WriteHeader(program, program.entryFile, program.header);  // a failure has had its message
  (void)WriteSettings(program, program.catalogName, program.settings);
}

void CatalogMaintenanceCommand(Program& program) {
  EraseScreen(program);          // which closes the browse index
  StoreCurrentCatalog(program);  // what the window's commands read of the current catalog
  ProgramCatalog current(program);
  CatalogMaintenance maintenance(program, current, program.readOnly);
  maintenance.currentName = program.CatalogOpen() ? program.catalogName : std::string();
  BuildCatalogList(maintenance);
  // The Undo history holds entry images in the current catalog's layout: an Edit Catalog of it, or
  // another current catalog, makes them images of no entry.
  const auto layout = [&] {
    std::vector<std::string> fields{program.catalogDirectory, program.catalogName};
    for (int i = 0; i < kFieldCount; ++i) {
      const auto f = static_cast<std::size_t>(i);
      fields.push_back(program.fieldTable[f].Name + std::to_string(program.fieldTable[f].Type) + ":" +
                       std::to_string(program.header.FieldLength[f]));
    }
    return fields;
  };
  const std::vector<std::string> before = layout();
  (void)program.ui.dialogs.Show(maintenance);
  PresentCurrentCatalog(program);
  if (layout() != before) ClearHistory(program);
}

}  // namespace vrk
