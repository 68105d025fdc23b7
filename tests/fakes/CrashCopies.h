// The fixture the crash tests share: a catalog directory made once (`original`), copied afresh for
// every run of a change under a fault, and the check that a key index lists entries in key order.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "fakes/TempDirectory.h"
#include "fakes/WriteFaults.h"
#include "index/Keys.h"
#include "platform/CodePage.h"

namespace vrk::test {

class CrashCopies {
 protected:
  // `copy` made again from `original`.
  void CopyAfresh() {
    std::filesystem::remove_all(copy.path());
    std::filesystem::copy(original.path(), copy.path());
  }

  // Runs `change` on a fresh copy of CAT, opened as the desktop program opens it, with `fault` at its
  // write `at`; then the program is killed (kStop) or closes the catalog. Returns the writes made.
  long RunOnCopy(FaultKind fault, long at, const std::function<void(FaultSession&)>& change) {
    CopyAfresh();
    FaultSession session(copy.path());
    EXPECT_TRUE(session.opened);
    session.files.SetWriteFault(fault, at);
    change(session);
    const long changes = session.files.ChangesSoFar();
    if (fault == FaultKind::kStop) {
      session.Kill();
    } else {
      (void)CloseCurrentCatalog(session.program);
    }
    session.files.SetWriteFault(FaultKind::kNone);
    return changes;
  }

  TempDirectory original;
  TempDirectory copy{"copy"};
};

// The entries the index of key field `field` of CAT lists, each as often as it lists it; a key out of
// order, or an entry the catalog cannot read, fails the test with `when`.
inline std::multiset<EntryNumber> IndexedEntries(Program& program, int field, const std::string& when) {
  std::multiset<EntryNumber> seen;
  const short handle = OpenIndex(program, field, "CAT", lib::kNdxOpen);
  EXPECT_NE(handle, kNoIndex) << when << ": field " << field;
  if (handle == kNoIndex) return seen;
  std::string previous;
  EntryRecord record;
  for (EntryNumber n = SeekInIndex(program, handle, ""); n > 0; n = NextInIndex(program, handle)) {
    if (!ReadEntry(program, record, program.header, n, program.entryFile)) {
      ADD_FAILURE() << when << ": field " << field << " names entry " << n << ", which cannot be read";
      break;
    }
    const std::string key = UpperAnsi(KeyText(record, field));
    EXPECT_LE(previous, key) << when << ": field " << field << " out of order at entry " << n;
    previous = key;
    seen.insert(n);
  }
  EXPECT_EQ(lib::CloseNDX(program.indexes, handle), lib::kNdxOk) << when;
  return seen;
}

// A parameter's name as a test name: blanks become underscores, apostrophes go.
inline std::string TestNameOf(std::string name) {
  std::replace(name.begin(), name.end(), ' ', '_');
  std::erase(name, '\'');
  return name;
}

}  // namespace vrk::test
