// Edit Catalog's rebuild and Eliminate Deleted, stopped at each of their writes in turn as if the
// program had been killed there, and failed at each write as a full or broken disk would: the catalog
// is whole every time, as it was before or as it is after, and once opened again its key indexes
// agree with its entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include "admin/EditCatalog.h"
#include "admin/EliminateDeleted.h"
#include "admin/Sort.h"
#include "catalog/Layout.h"
#include "fakes/Catalogs.h"
#include "fakes/FakePrinter.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"
#include "fakes/WriteFaults.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Sound.h"
#include "shell/Startup.h"
#include "shell/TextScreen.h"
#include "support/Support.h"

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

class AdminCrashTest : public ::testing::TestWithParam<Operation> {
 protected:
  AdminCrashTest() {
    MakeCatalog(original.path());
    before = Read(original.path());
    RunOnCopy(sys::FaultKind::kNone, 0);
    after = Read(copy.path());
  }
  ~AdminCrashTest() override { sys::SetWriteFault(sys::FaultKind::kNone); }

  long RunOnCopy(sys::FaultKind fault, long at) {
    fs::remove_all(copy.path());
    fs::copy(original.path(), copy.path());
    Session session(copy.path());
    EXPECT_TRUE(session.opened);
    sys::SetWriteFault(fault, at);
    GetParam().run(session.program);
    const long changes = sys::ChangesSoFar();
    if (fault == sys::FaultKind::kStop) {
      session.Kill();
    } else {
      (void)CloseCurrentCatalog(session.program);
    }
    sys::SetWriteFault(sys::FaultKind::kNone);
    return changes;
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
      const short handle = OpenIndex(program, field, "CAT", lib::kNdxOpen);
      ASSERT_NE(handle, kNoIndex) << when;
      std::multiset<EntryNumber> seen;
      std::string previous;
      EntryRecord record;
      for (EntryNumber n = SeekInIndex(program, handle, ""); n > 0; n = NextInIndex(program, handle)) {
        ASSERT_TRUE(ReadEntry(program, record, program.header, n, program.entryFile));
        const std::string key = UpperAnsi(KeyText(record, field));
        EXPECT_LE(previous, key) << when << ": field " << field;
        previous = key;
        seen.insert(n);
      }
      lib::CloseNDX(handle);
      EXPECT_EQ(seen.size(), static_cast<std::size_t>(program.header.Count())) << when << ": field " << field;
      EXPECT_EQ(std::set<EntryNumber>(seen.begin(), seen.end()).size(), seen.size()) << when;
    }
    EXPECT_FALSE(FileExists(copy / "CAT.DA$")) << when;
    EXPECT_FALSE(FileExists(copy / "CAT.SE$")) << when;
  }

  TempDirectory original;
  TempDirectory copy{"copy"};
  Whole before, after;
};

TEST_P(AdminCrashTest, KilledAtAnyWriteLeavesTheCatalogWholeAsItWasOrAsItIsAfter) {
  ASSERT_FALSE(before == after);
  test::AtEveryWrite(
      sys::FaultKind::kStop, GetParam().name, [&](sys::FaultKind fault, long at) { return RunOnCopy(fault, at); },
      [&](const std::string& when) { ExpectWhole(when); });
}

TEST_P(AdminCrashTest, AWriteTheDiskRefusesLeavesTheCatalogWholeAsItWasOrAsItIsAfter) {
  test::AtEveryWrite(
      sys::FaultKind::kFail, GetParam().name, [&](sys::FaultKind fault, long at) { return RunOnCopy(fault, at); },
      [&](const std::string& when) { ExpectWhole(when); });
}

INSTANTIATE_TEST_SUITE_P(Changes, AdminCrashTest, ::testing::ValuesIn(kOperations), [](const auto& info) {
  std::string name = info.param.name;
  std::replace(name.begin(), name.end(), ' ', '_');
  return name;
});

}  // namespace
}  // namespace vrk
