// A program with a catalog of records (Artist as key field, Title, Format) written straight to its
// files, and an output that records what a run sends.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "fakes/Catalogs.h"
#include "fakes/ProgramFixture.h"
#include "report/Output.h"
#include "search/Criteria.h"
#include "shell/Browsing.h"
#include "shell/Searching.h"

namespace vrk::test {

class RecordingOutput : public EntryOutput {
 public:
  bool Start() override { return started = true; }
  Sent Send(EntryNumber n, const EntryRecord&) override {
    sent.push_back(n);
    return limit != 0 && sent.size() == limit ? Sent::kFull : Sent::kMore;
  }
  bool Finish(EntryNumber count) override {
    finished = count;
    return true;
  }

  std::vector<EntryNumber> sent;
  std::size_t limit = 0;  // Quick View's row limit; 0 none
  bool started = false;
  EntryNumber finished = -1;
};

class SearchFixture : public ProgramFixture {
 protected:
  static CatalogLayout Records() { return MakeLayout({{"Artist", 10, kKeyField}, {"Title", 10}, {"Format", 6}}); }
  void Make(const std::vector<TestEntry>& entries, const CatalogLayout& layout = Records()) {
    WriteCatalog(dir.path(), "CAT", layout, entries);
    ASSERT_TRUE(UseCatalog(program, dir.path(), "CAT", CatalogAccess::kChange));
    EraseScreen(program);
  }
  void Criteria(const std::vector<std::string>& texts) {
    RebuildCriterionSet(program.search.criteria, program.header, texts);
  }
  // The entries a run sends to an output.
  std::vector<EntryNumber> Sent(EntryNumber (*run)(Program&, EntryOutput*)) {
    RecordingOutput output;
    run(program, &output);
    return output.sent;
  }
  // The current entry, then each one Next (Previous) moves to, up to the message at the end.
  std::vector<EntryNumber> Browse(void (*step)(Program&)) {
    std::vector<EntryNumber> shown{program.currentEntryNumber};
    for (std::size_t messages = ui.messages.size(); shown.size() <= program.header.Count() + 1;) {
      step(program);
      if (ui.messages.size() > messages) break;
      shown.push_back(program.currentEntryNumber);
    }
    return shown;
  }
};

}  // namespace vrk::test
