// What the crash tests share: a program on the catalog CAT of a directory that can end without a
// word, as a killed program does, and an operation run once for every write it makes, stopped or
// failed there.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/FakeFileSystem.h"
#include "fakes/FakePrinter.h"
#include "fakes/FakeUi.h"
#include "platform/FileSystem.h"
#include "platform/Sound.h"
#include "shell/Editing.h"
#include "shell/Startup.h"
#include "shell/TextScreen.h"
#include "support/IndexFile.h"

namespace vrk::test {

// A program on the catalog CAT (or `name`) of a directory, opened as the desktop program opens it.
struct FaultSession {
  explicit FaultSession(const std::string& directory, const std::string& name = "CAT") {
    SetProgramDirectory(program, directory);
    opened = UseCatalog(program, directory, name, CatalogAccess::kChange);
    EraseScreen(program);
  }
  // The program ends without a word: whatever it still had to write is lost with it.
  void Kill() {
    program.files = FileTable(files);
    static_cast<void>(lib::InitIndexes(program.indexes));  // the handles go; what they had to write is lost either way
    program.entryFile = 0;
  }

  FakeFileSystem files;  // the disk, which a test makes fail
  FakeUi ui;
  TextScreen screen;
  SilentSound sound;
  FakePrinter printer;
  Program program{{ui, screen, sound, printer, files}};
  bool opened = false;
};

// `run(fault, at)` runs the operation on a fresh copy with that fault and returns the writes it made;
// it runs once without a fault, then once for each of those writes stopped there as if the program
// had been killed (kStop) or refused by the disk (kFail), and `check(when)` looks at what it left.
inline void AtEveryWrite(FaultKind fault, const std::string& name, const std::function<long(FaultKind, long)>& run,
                         const std::function<void(const std::string&)>& check) {
  const long writes = run(FaultKind::kNone, 0);
  ASSERT_GT(writes, 0);
  ::testing::Test::RecordProperty("points", static_cast<int>(writes));  // in the XML report
  for (long at = 1; at <= writes; ++at) {
    run(fault, at);
    const std::string of = std::to_string(at) + " of " + std::to_string(writes);
    check(name + (fault == FaultKind::kStop ? ", killed before write " + of : ", write " + of + " refused"));
  }
}

}  // namespace vrk::test
