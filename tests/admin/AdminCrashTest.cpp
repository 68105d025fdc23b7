// Edit Catalog's rebuild and Eliminate Deleted, stopped at each of their writes in turn as if the
// program had been killed there, and failed at each write as a full or broken disk would: the catalog
// is whole every time, as it was before or as it is after, and once opened again its key indexes
// agree with its entries. The changes of several files (rename, removal, both imports, the macro
// file, the report settings) likewise: once the next command has come, the directory holds the files
// as they were or as they are after, under one name, with nothing staged left.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "admin/CatalogMaintenance.h"
#include "admin/EditCatalog.h"
#include "admin/EliminateDeleted.h"
#include "admin/Sort.h"
#include "catalog/Journal.h"
#include "catalog/Layout.h"
#include "csv/CsvImport.h"
#include "dbase/DbfImport.h"
#include "fakes/Catalogs.h"
#include "fakes/CrashCopies.h"
#include "fakes/FakePrinter.h"
#include "fakes/ForeignTable.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"
#include "fakes/WriteFaults.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Sound.h"
#include "shell/Startup.h"
#include "shell/TextMacros.h"
#include "shell/TextScreen.h"
#include "support/IndexFile.h"
#include "support/Macros.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;
using test::TempDirectory;

constexpr int kEntries = 300;

using Session = test::FaultSession;

void MakeCatalog(const std::string& directory) {
  std::vector<test::TestEntry> entries;
  for (int n = 1; n <= kEntries; ++n) {
    entries.push_back(
        {{"Title " + std::to_string((n * 7) % 101), std::to_string(1900 + n % 97), "note " + std::to_string(n)},
         n % 4 == 0 ? kStatusDeleted : kStatusActive});
  }
  test::WriteCatalog(directory, "CAT",
                     test::MakeLayout({{"Title", 20, kKeyField}, {"Year", 4, kKeyField}, {"Notes", 10}}), entries);
  Session session(directory);
  ASSERT_TRUE(SortCatalog(session.program, {0, 1}));
  ASSERT_TRUE(CloseCurrentCatalog(session.program));
}

// Everything of a catalog that a change may alter.
struct Whole {
  CatalogLayout layout;
  std::vector<std::tuple<float, std::array<std::string, kFieldCount>, float, float, float>> entries;
  bool operator==(const Whole& other) const {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
      if (layout.fields[i].Name != other.layout.fields[i].Name ||
          layout.fields[i].Type != other.layout.fields[i].Type ||
          FormulaText(layout.formulas[i]) != FormulaText(other.layout.formulas[i])) {
        return false;
      }
    }
    return layout.lengths == other.layout.lengths && entries == other.entries;
  }
};

Whole Read(const std::string& directory) {
  const test::CatalogOnDisk catalog = test::ReadCatalog(directory, "CAT");
  Whole whole{{catalog.fields, catalog.header.FieldLength, catalog.formulas}, {}};
  for (const EntryRecord& e : catalog.entries) {
    whole.entries.emplace_back(e.Status, e.Field, e.NextSorted, e.PrevSorted, e.MemoNumber);
  }
  return whole;
}

struct Operation {
  const char* name;
  std::function<void(Program&)> run;
};
void PrintTo(const Operation& operation, std::ostream* out) { *out << operation.name; }

const Operation kOperations[] = {
    {"rebuild with new lengths and keys",
     [](Program& program) {
       CatalogLayout layout = LayoutOf(program);
       layout.lengths[0] = 8;
       layout.lengths[2] = 25;
       layout.fields[1].Type = kPlainField;
       layout.fields[2] = {PadFieldName("Remarks"), kKeyField};
       (void)ChangeLayout(program, layout);
     }},
    {"new names only",
     [](Program& program) {
       CatalogLayout layout = LayoutOf(program);
       layout.fields[0].Name = PadFieldName("Name");
       (void)ChangeLayout(program, layout);
     }},
    {"eliminate deleted", [](Program& program) { (void)EliminateDeleted(program); }},
};

class AdminCrashTest : public ::testing::TestWithParam<Operation>, protected test::CrashCopies {
 protected:
  AdminCrashTest() {
    MakeCatalog(original.path());
    before = Read(original.path());
    RunOnCopy(test::FaultKind::kNone, 0);
    after = Read(copy.path());
  }
  long RunOnCopy(test::FaultKind fault, long at) {
    return CrashCopies::RunOnCopy(fault, at, [this](Session& session) { GetParam().run(session.program); });
  }

  // The catalog as it was or as it is after, and, opened again, indexes that list every entry once in
  // the order of its key.
  void ExpectWhole(const std::string& when) {
    const Whole now = Read(copy.path());
    EXPECT_TRUE(now == before || now == after) << when;
    Session session(copy.path());
    ASSERT_TRUE(session.opened) << when;
    Program& program = session.program;
    for (int field = 0; field < kFieldCount; ++field) {
      if (!IsKeyField(program.fieldTable[static_cast<std::size_t>(field)])) continue;
      const std::multiset<EntryNumber> seen = test::IndexedEntries(program, field, when);
      EXPECT_EQ(seen.size(), static_cast<std::size_t>(program.header.Count())) << when << ": field " << field;
      EXPECT_EQ(std::set<EntryNumber>(seen.begin(), seen.end()).size(), seen.size()) << when;
    }
    EXPECT_FALSE(FileExists(copy / "CAT.DA$")) << when;
    EXPECT_FALSE(FileExists(copy / "CAT.SE$")) << when;
  }

  Whole before, after;
};

TEST_P(AdminCrashTest, KilledAtAnyWriteLeavesTheCatalogWholeAsItWasOrAsItIsAfter) {
  ASSERT_FALSE(before == after);
  test::AtEveryWrite(
      test::FaultKind::kStop, GetParam().name, [&](test::FaultKind fault, long at) { return RunOnCopy(fault, at); },
      [&](const std::string& when) { ExpectWhole(when); });
}

TEST_P(AdminCrashTest, AWriteTheDiskRefusesLeavesTheCatalogWholeAsItWasOrAsItIsAfter) {
  test::AtEveryWrite(
      test::FaultKind::kFail, GetParam().name, [&](test::FaultKind fault, long at) { return RunOnCopy(fault, at); },
      [&](const std::string& when) { ExpectWhole(when); });
}

INSTANTIATE_TEST_SUITE_P(Changes, AdminCrashTest, ::testing::ValuesIn(kOperations),
                         [](const auto& info) { return test::TestNameOf(info.param.name); });

// ---- Changes of several files ----------------------------------------------------------------------

// The files of a directory and their bytes; index files by name only, as a program may rebuild them.
using Files = std::map<std::string, std::string>;

Files FilesOf(const std::string& directory) {
  Files files;
  for (const auto& file : fs::directory_iterator(directory)) {
    const std::string name = file.path().filename().string();
    files[name] = name.ends_with(".WDX") ? std::string() : TempDirectory::ReadFile(file.path().string());
  }
  return files;
}

// Without the indexes and what a change stages.
Files Unstaged(Files files) {
  std::erase_if(files, [](const auto& file) {
    return file.first.ends_with(".WDX") || file.first.find_first_of("~$") != std::string::npos ||
           file.first.ends_with(".new");
  });
  return files;
}

struct FilesChange {
  const char* name;
  std::function<bool(Session&, const std::string& directory, const std::string& sources)> run;
};
void PrintTo(const FilesChange& change, std::ostream* out) { *out << change.name; }

const FilesChange kFilesChanges[] = {
    {"rename",
     [](Session& session, const std::string& directory, const std::string&) {
       CatalogStore holder(session.ui, session.files);
       return HoldCatalog(holder, directory, "CAT", false) && RenameCatalogFiles(holder, directory, "CAT", "NEW");
     }},
    {"remove",
     [](Session& session, const std::string& directory, const std::string&) {
       CatalogStore holder(session.ui, session.files);
       return HoldCatalog(holder, directory, "CAT", false) && RemoveCatalogFiles(holder, directory, "CAT");
     }},
    {"import csv",
     [](Session& session, const std::string& directory, const std::string& sources) {
       std::optional<CsvImportPlan> plan = PlanCsvImport(session.ui, sources + "/in.csv");
       if (!plan) return false;
       plan->layout.fields[0].Type = kKeyField;
       return ImportCsv(session.program, sources + "/in.csv", *plan, "IMP", directory);
     }},
    {"import dbf",
     [](Session& session, const std::string& directory, const std::string& sources) {
       DbfEngine engine;
       engine.system = &session.files;
       return ImportDBF(session.program, engine, sources + "/in.dbf", "IMP", directory);
     }},
    {"two macros",
     [](Session& session, const std::string&, const std::string&) {
       MacroTable table = session.program.macros.table;
       lib::FilterMacro("two", table[1]);
       lib::FilterMacro("bee", table[11]);
       return SaveMacros(session.program, table);
     }},
    {"two settings",
     [](Session& session, const std::string&, const std::string&) {
       CatalogSettings& settings = session.program.settings;
       settings.PageLength = 33;
       settings.PageNumbers = 2;
       return WriteSettings(session.program, "CAT", settings);
     }},
};

class FilesCrashTest : public ::testing::TestWithParam<FilesChange>, protected test::CrashCopies {
 protected:
  FilesCrashTest() {
    MakeCatalog(original.path());
    test::FakeUi ui;
    CatalogStore store(ui);
    store.catalogDirectory = original.path();
    store.catalogName = "CAT";
    MacroTable macros;
    lib::FilterMacro("one", macros[0]);
    EXPECT_TRUE(SaveMacros(store, macros));
    TempDirectory::WriteFile(original / "CAT.MEM", std::string(2 * 1420, 'm'));
    std::string csv = "Title,Year\r\n";
    std::vector<std::string> records;
    for (int n = 1; n <= 400; ++n) {
      csv += "Row " + std::to_string(n) + "," + std::to_string(1900 + n) + "\r\n";
      records.push_back(" " + std::to_string(100000 + n));
    }
    TempDirectory::WriteFile(sources / "in.csv", csv);
    TempDirectory::WriteFile(sources / "in.dbf", test::ForeignTable(0x03, {{"N", 'C', 6}}, records));
    before = FilesOf(original.path());
    EXPECT_TRUE(RunOnCopy(test::FaultKind::kNone, 0).second);
    after = FilesOf(copy.path());
    said = messages;
  }

  // The changes made, and whether the change said it was done.
  std::pair<long, bool> RunOnCopy(test::FaultKind fault, long at) {
    CopyAfresh();
    Session session(copy.path());
    EXPECT_TRUE(session.opened);
    EXPECT_TRUE(LoadMacros(session.program, session.program.macros.table));
    ReadSettings(session.program, "CAT", session.program.settings);
    // Only the changes of the macro file and the settings need the catalog open.
    const std::string name = GetParam().name;
    if (!name.starts_with("two")) session.Kill();
    session.files.SetWriteFault(fault, at);
    const bool done = GetParam().run(session, copy.path(), sources.path());
    const long changes = session.files.ChangesSoFar();
    session.Kill();
    session.files.SetWriteFault(test::FaultKind::kNone);
    messages = session.ui.messages.size();
    return {changes, done};
  }

  // What the next command finds, once it has finished what a journal left: the files as they were or
  // as they are after, under one name (what a killed program left staged aside, and the indexes,
  // which the next change rebuilds); and once that command has run (an import runs again, another
  // opens the catalog for a change), the same with nothing staged left.
  void ExpectWholeUnderOneName(const std::string& when, bool done) {
    test::FakeUi ui;
    for (const char* name : {"CAT", "NEW", "IMP"})
      EXPECT_TRUE(FinishJournals(ui, sys::SystemFiles(), copy.path(), name)) << when;
    const Files now = Unstaged(FilesOf(copy.path()));
    EXPECT_TRUE(now == Unstaged(before) || now == Unstaged(after)) << when;
    EXPECT_TRUE(!done || now == Unstaged(after)) << when << ": said done";
    const std::string change = GetParam().name;
    if (change.starts_with("import") && !FileExists(copy / "IMP.DAT")) {
      Session next(copy.path());
      next.Kill();
      EXPECT_TRUE(GetParam().run(next, copy.path(), sources.path())) << when << ": imported again";
    }
    for (const std::string name : {"CAT", "NEW", "IMP"}) {
      if (!FileExists(copy / (name + ".DAT"))) continue;
      Session next(copy.path(), name);
      EXPECT_TRUE(next.opened) << when << ": " << name;
      EXPECT_TRUE(CloseCurrentCatalog(next.program)) << when;
    }
    const Files then = FilesOf(copy.path());
    EXPECT_TRUE(then == before || then == after) << when << ", then the next command";
  }

  TempDirectory sources{"sources"};
  Files before, after;
  std::size_t messages = 0;  // shown by the last run
  std::size_t said = 0;      // shown by the run without a fault
};

TEST_P(FilesCrashTest, KilledAtAnyWriteLeavesTheFilesAsTheyWereOrAsTheyAreAfter) {
  ASSERT_NE(before, after);
  test::AtEveryWrite(
      test::FaultKind::kStop, GetParam().name,
      [&](test::FaultKind fault, long at) { return RunOnCopy(fault, at).first; },
      [&](const std::string& when) { ExpectWholeUnderOneName(when, false); });
}

TEST_P(FilesCrashTest, AWriteTheDiskRefusesIsSaidAndLeavesTheFilesAsTheyWereOrAsTheyAreAfter) {
  bool done = false;
  test::AtEveryWrite(
      test::FaultKind::kFail, GetParam().name,
      [&](test::FaultKind fault, long at) {
        const auto [changes, said] = RunOnCopy(fault, at);
        done = said;
        return changes;
      },
      [&](const std::string& when) {
        EXPECT_TRUE(done || messages > said) << when << ": failed without a word";
        ExpectWholeUnderOneName(when, done);
      });
}

INSTANTIATE_TEST_SUITE_P(Changes, FilesCrashTest, ::testing::ValuesIn(kFilesChanges),
                         [](const auto& info) { return test::TestNameOf(info.param.name); });

}  // namespace
}  // namespace vrk
