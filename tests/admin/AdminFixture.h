// A program on a directory of catalogs for the administration commands, with a Catalog Maintenance
// record over its current catalog.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "admin/CatalogMaintenance.h"
#include "fakes/Catalogs.h"
#include "fakes/FakePrinter.h"
#include "fakes/FakeUi.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"
#include "index/Keys.h"
#include "platform/Sound.h"
#include "shell/Program.h"
#include "shell/Startup.h"
#include "shell/TextScreen.h"
#include "support/Support.h"

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

class AdminTest : public ::testing::Test {
 protected:
  AdminTest() {
    SetProgramDirectory(program, dir.path());
    maintenance.directory = dir.path();
  }
  ~AdminTest() override { ShutDown(program); }

  // Makes the catalog current, as the start-up would.
  void Use(const std::string& name) { ASSERT_TRUE(UseCatalog(program, dir.path(), name, CatalogAccess::kChange)); }
  // The entry numbers of a key field's index in key order.
  std::vector<EntryNumber> Walk(const std::string& name, int field) {
    std::vector<EntryNumber> order;
    std::int16_t handle = kNoIndex;
    EXPECT_EQ(lib::OpenNDX(handle, dir / IndexFileName(field, name), lib::kNdxOpen), lib::kNdxOk);
    std::int32_t entry = 0;
    for (auto result = lib::GetFirst(handle, entry); result == lib::kNdxOk; result = lib::GetNext(handle, entry)) {
      order.push_back(entry);
    }
    lib::CloseNDX(handle);
    return order;
  }
  std::vector<std::string> Texts(const CatalogOnDisk& catalog, int field) {
    std::vector<std::string> texts;
    for (const EntryRecord& entry : catalog.entries) texts.push_back(entry.Field[static_cast<std::size_t>(field)]);
    return texts;
  }

  TempDirectory dir;
  FakeUi ui;
  TextScreen screen;
  SilentSound sound;
  FakePrinter printer;
  Program program{{ui, screen, sound, printer}};
  RecordingCurrent current{program};
  CatalogMaintenance maintenance{program, current, false};
};

}  // namespace vrk::test
