// A program with a fresh catalog "CAT" in a temporary directory, its screen kept in memory.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "catalog/EntryFile.h"
#include "catalog/Layout.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakePrinter.h"
#include "fakes/FakeUi.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"
#include "index/Keys.h"
#include "platform/Sound.h"
#include "shell/Editing.h"
#include "shell/EntryView.h"
#include "shell/Program.h"
#include "shell/Startup.h"
#include "shell/TextScreen.h"
#include "support/IndexFile.h"

namespace vrk::test {

class ProgramFixture : public ::testing::Test {
 protected:
  ProgramFixture() { SetProgramDirectory(program, dir.path()); }
  ~ProgramFixture() override { ShutDown(program); }

  void Open(const CatalogLayout& layout) {
    ASSERT_TRUE(CreateNewCatalog(program, dir.path(), "CAT", layout));
    ASSERT_TRUE(UseCatalog(program, dir.path(), "CAT", CatalogAccess::kChange));
    EraseScreen(program);
  }
  // Types texts into boxes 0, 1, 2 … of the screen.
  void Type(std::initializer_list<std::string> texts) {
    int box = 0;
    for (const std::string& text : texts) screen.SetBoxText(box++, text);
  }
  // Saves one new entry with these texts.
  void Add(std::initializer_list<std::string> texts) {
    EraseScreen(program);
    Type(texts);
    SaveEntry(program);
  }
  // The entry numbers of a key field's index in key order (of CAT, or of another catalog beside it).
  std::vector<EntryNumber> Walk(int field, const std::string& name = "CAT") {
    std::vector<EntryNumber> order;
    const short handle = OpenIndex(program, field, name, lib::kNdxOpen);
    std::int32_t entry = 0;
    for (auto result = lib::GetFirst(program.indexes, handle, entry); result == lib::kNdxOk;
         result = lib::GetNext(program.indexes, handle, entry)) {
      order.push_back(entry);
    }
    EXPECT_EQ(lib::CloseNDX(program.indexes, handle), lib::kNdxOk);
    return order;
  }
  // Shows entry n as browsing would.
  void Show(EntryNumber n) {
    program.currentEntryNumber = n;
    ASSERT_TRUE(ReadEntry(program, program.currentEntry, program.header, n, program.entryFile));
    ShowEntry(program, program.currentEntry);
  }

  TempDirectory dir;
  FakeFileSystem files;  // the disk, which a test may make fail
  FakeUi ui;
  TextScreen screen;
  SilentSound sound;
  FakePrinter printer;
  Program program{{ui, screen, sound, printer, files}};
};

}  // namespace vrk::test
