// Every change of a catalog, stopped at each of its writes in turn as if the program had been killed
// there, and failed at each write as a full or broken disk would: afterwards the catalog still holds
// every entry saved before, and once it is opened again its key indexes agree with its entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "fakes/Catalogs.h"
#include "fakes/CrashCopies.h"
#include "fakes/FakePrinter.h"
#include "fakes/Layouts.h"
#include "fakes/TempDirectory.h"
#include "fakes/WriteFaults.h"
#include "index/Rebuild.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Sound.h"
#include "shell/Browsing.h"
#include "shell/Editing.h"
#include "shell/Startup.h"
#include "shell/TextScreen.h"
#include "support/IndexFile.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;
using test::TempDirectory;

constexpr int kEntries = 400;  // enough for index pages to split and for the gauge to show

using Session = test::FaultSession;

std::string Word(int n) {
  static const char* kWords[] = {"amber", "Basalt", "cedar", "Delta", "ember", "Fjord", "garnet", "Harbor"};
  return std::string(kWords[n % 8]) + " " + kWords[(n / 8) % 8] + " " + std::to_string(n % 37);
}

// The catalog every case starts from: three key fields, every ninth entry deleted.
void MakeCatalog(const std::string& directory) {
  std::vector<test::TestEntry> entries;
  for (int n = 1; n <= kEntries; ++n) {
    entries.push_back({{Word(n * 3), Word(n * 5 + 1), std::to_string(1950 + n % 60), Word(n)},
                       n % 9 == 0 ? kStatusDeleted : kStatusActive});
  }
  test::WriteCatalog(
      directory, "CAT",
      test::MakeLayout({{"Title", 30, kKeyField}, {"Artist", 20, kKeyField}, {"Year", 4, kKeyField}, {"Notes", 12}}),
      entries);
}

std::map<EntryNumber, EntryRecord> Entries(Program& program) {
  std::map<EntryNumber, EntryRecord> entries;
  for (EntryNumber n = 1; n <= program.header.Count(); ++n) {
    EXPECT_TRUE(ReadEntry(program, entries[n], program.header, n, program.entryFile));
  }
  return entries;
}

// Each key index lists every active entry once, deleted ones at most once, nothing beyond the count,
// in the order of the keys.
void ExpectIndexesAgree(Session& session, const std::string& when) {
  Program& program = session.program;
  const auto entries = Entries(program);
  for (int field = 0; field < 3; ++field) {
    const std::multiset<EntryNumber> seen = test::IndexedEntries(program, field, when);
    for (const auto& [n, record] : entries) {
      const std::size_t times = seen.count(n);
      if (record.Status == kStatusActive) {
        EXPECT_EQ(times, 1u) << when << ": active entry " << n << " in index " << field;
      } else {
        EXPECT_LE(times, 1u) << when << ": deleted entry " << n << " in index " << field;
      }
    }
    EXPECT_LE(seen.size(), entries.size()) << when;
  }
  for (const std::string& text : session.ui.texts()) {
    EXPECT_NE(text.find("rebuilt now"), std::string::npos) << when << ": " << text;
  }
}

struct Operation {
  const char* name;
  // Runs the change on a program that shows entry 7.
  std::function<void(Session&)> run;
};
void PrintTo(const Operation& operation, std::ostream* out) { *out << operation.name; }

const Operation kOperations[] = {
    {"save a new entry",
     [](Session& s) {
       EraseScreen(s.program);
       for (int box = 0; box < 4; ++box) s.screen.SetBoxText(box, "Zulu " + std::to_string(box));
       (void)SaveEntry(s.program);
     }},
    {"save an entry with new keys",
     [](Session& s) {
       s.screen.SetBoxText(0, "Aardvark");
       s.screen.SetBoxText(2, "1901");
       (void)SaveEntry(s.program);
     }},
    {"delete", [](Session& s) { (void)DeleteEntry(s.program); }},
    {"undelete",
     [](Session& s) {
       GoToEntry(s.program, 9);
       (void)UndeleteEntry(s.program);
     }},
    {"reindex", [](Session& s) { (void)ReIndex(s.program); }},
    {"build one index in entry order", [](Session& s) { (void)BuildIndexInFileOrder(s.program, 1); }},
    {"build one index in another's order", [](Session& s) { (void)BuildIndexInIndexOrder(s.program, 0, 1); }},
};

class CrashTest : public ::testing::TestWithParam<Operation>, protected test::CrashCopies {
 protected:
  CrashTest() {
    MakeCatalog(original.path());
    Session session(original.path());
    before = Entries(session.program);
  }

  // A fresh copy of the catalog with the operation run on it under the fault; the writes it made.
  long RunOnCopy(test::FaultKind fault, long at) {
    return CrashCopies::RunOnCopy(fault, at, [this](Session& session) {
      GoToEntry(session.program, 7);
      GetParam().run(session);
    });
  }

  // The catalog opened again after the fault: every entry saved before is there as it was (the one
  // changed, the new one included, may have its new texts), and the indexes agree with the entries,
  // also after one more entry is saved.
  void ExpectWhole(const std::string& when) {
    Session session(copy.path());
    ASSERT_TRUE(session.opened) << when;
    Program& program = session.program;
    const auto after = Entries(program);
    ASSERT_GE(after.size(), before.size()) << when;
    ASSERT_LE(after.size(), before.size() + 1) << when;
    for (const auto& [n, record] : before) {
      if (n == 7 || n == 9) continue;
      EXPECT_EQ(after.at(n).Field, record.Field) << when << ": entry " << n;
      EXPECT_EQ(after.at(n).Status, record.Status) << when << ": entry " << n;
    }
    ExpectIndexesAgree(session, when);
    EraseScreen(program);
    session.screen.SetBoxText(0, "After");
    ASSERT_TRUE(SaveEntry(program)) << when;
    ExpectIndexesAgree(session, when + ", then one more entry");
  }

  std::map<EntryNumber, EntryRecord> before;
};

TEST_P(CrashTest, KilledAtAnyWriteLosesNoEntryAndLeavesNoIndexSilentlyWrong) {
  test::AtEveryWrite(
      test::FaultKind::kStop, GetParam().name, [&](test::FaultKind fault, long at) { return RunOnCopy(fault, at); },
      [&](const std::string& when) { ExpectWhole(when); });
}

TEST_P(CrashTest, AWriteTheDiskRefusesLosesNoEntryAndLeavesNoIndexSilentlyWrong) {
  test::AtEveryWrite(
      test::FaultKind::kFail, GetParam().name, [&](test::FaultKind fault, long at) { return RunOnCopy(fault, at); },
      [&](const std::string& when) { ExpectWhole(when); });
}

// A new entry needs no mark on its indexes: it puts the entry file and each key index on the disk
// once. An index built anew records no count of entries, so the next save marks it (one sync more)
// as any change does; the save after that does not.
TEST(NewEntryTest, IsSavedWithOneSyncOfEachFile) {
  TempDirectory directory;
  MakeCatalog(directory.path());
  Session session(directory.path());
  ASSERT_TRUE(session.opened);
  const auto syncsOfASave = [&](const std::string& title) {
    EraseScreen(session.program);
    session.screen.SetBoxText(0, title);
    const long before = session.files.Syncs();
    EXPECT_TRUE(SaveEntry(session.program));
    return session.files.Syncs() - before;
  };
  EXPECT_EQ(syncsOfASave("Quartz"), 4);
  ASSERT_TRUE(BuildIndexInFileOrder(session.program, 1));
  EXPECT_EQ(syncsOfASave("Quince"), 5);
  EXPECT_EQ(syncsOfASave("Quill"), 4);
  ExpectIndexesAgree(session, "after three new entries");
}

INSTANTIATE_TEST_SUITE_P(Changes, CrashTest, ::testing::ValuesIn(kOperations),
                         [](const auto& info) { return test::TestNameOf(info.param.name); });

}  // namespace
}  // namespace vrk
