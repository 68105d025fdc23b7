// A program on a directory of catalogs for the administration commands, with a Catalog Maintenance
// record over its current catalog.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "admin/CatalogMaintenance.h"
#include "fakes/Catalogs.h"
#include "fakes/ProgramFixture.h"

namespace vrk::test {

// The current catalog as the tests watch Catalog Maintenance change it.
struct RecordingCurrent : CurrentCatalog {
  explicit RecordingCurrent(Program& program) : program(program) {}
  bool Select(const std::string& directory, const std::string& name) override {
    selected.push_back(name);
    return OpenCatalogOnScreen(program, directory, name);
  }
  void Close() override { closed = CloseCurrentCatalog(program); }
  void Reopen() override {
    reopened = UseCatalog(program, program.catalogDirectory, program.catalogName, CatalogAccess::kChange);
  }
  void Renamed(const std::string& name) override { program.catalogName = renamed = name; }
  void Removed() override {
    removed = true;
    (void)program.files.Close(program.entryFile);
    program.entryFile = 0;
    program.catalogName.clear();
  }

  Program& program;
  std::vector<std::string> selected;
  std::string renamed;
  bool closed = false, reopened = false, removed = false;
};

class AdminTest : public ProgramFixture {
 protected:
  AdminTest() { maintenance.directory = dir.path(); }

  // Makes the catalog current, as the start-up would.
  void Use(const std::string& name) { ASSERT_TRUE(UseCatalog(program, dir.path(), name, CatalogAccess::kChange)); }
  std::vector<std::string> Texts(const CatalogOnDisk& catalog, int field) {
    std::vector<std::string> texts;
    for (const EntryRecord& entry : catalog.entries) texts.push_back(entry.Field[static_cast<std::size_t>(field)]);
    return texts;
  }

  RecordingCurrent current{program};
  CatalogMaintenance maintenance{program, current, false};
};

}  // namespace vrk::test
