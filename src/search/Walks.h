// One walk per kind of list: the order in which a search or list visits the entries and the test that
// makes an entry a member. The same walk finds the first member of a run, the members an output run
// sends, and the next or previous member that Next and Previous show; nothing keeps a list of members.
#pragma once

#include <memory>

#include "catalog/EntryFile.h"
#include "search/Matching.h"
#include "search/SearchState.h"

namespace vrk {

// What the walk is for. A run steps the gauge before each entry it reads (its Cancel ends the walk);
// browsing shows the busy pointer instead. Only an output run lets the ending point end List
// Alphabetically: to the main window that list runs on to the end of the index.
enum class WalkUse {
  kOutput,      // a run that sends its members to an output
  kMainWindow,  // a run that shows its first member on the main window
  kBrowse,      // Next and Previous
};

class ListWalk {
 public:
  // Kinds 2 to 7; the walk reads the search state as it is when each call runs.
  ListWalk(SearchContext& context, ListKind kind, WalkUse use);
  ~ListWalk();
  ListWalk(const ListWalk&) = delete;
  ListWalk& operator=(const ListWalk&) = delete;

  // The first member, read into `entry`; 0 when there is none. Alphabetical kinds first open the
  // selected key field's index into the browse handle (closing one left open) and seek the start key.
  EntryNumber First(EntryRecord& entry);
  // The member after (before) entry `from`, whose record `entry` holds, read into `entry`; 0 at the end
  // of the list, with `entry` unchanged. Alphabetical kinds move on from the browse index's position.
  EntryNumber Next(EntryNumber from, EntryRecord& entry);
  EntryNumber Previous(EntryNumber from, EntryRecord& entry);

  // Why the last call found nothing: kDone at the end of the list, kCancelled after the gauge's Cancel,
  // kFailed after a message (an entry or the index could not be read, the index could not be opened).
  WalkEnd End() const { return end_; }

 private:
  struct Reader;
  SearchContext& context_;
  ListKind kind_;
  WalkUse use_;
  WalkEnd end_ = WalkEnd::kDone;
  std::unique_ptr<Reader> reader_;

  bool Step();
  const GlobalMatch& Global();
  EntryNumber Move(EntryNumber from, EntryRecord& entry, int direction);
  bool Read(EntryNumber n, EntryRecord& entry, bool forward);
  bool IsMember(const EntryRecord& entry) const;
  bool MayBeMember(const char* slot);
  EntryNumber Sequential(EntryNumber n, EntryRecord& entry, int direction);
  EntryNumber Chained(EntryNumber from, EntryRecord& entry, int direction);
  EntryNumber ChainedInBatches(EntryNumber from, EntryRecord& entry, EntryNumber last);
  // Whether a sequential search follows the sorted chain: the catalog is sorted and the run found
  // its chain whole.
  bool FollowsChain() const;
  // Says that the chain is damaged; the current list goes on in entry order.
  void ChainDamaged();
  EntryNumber Indexed(EntryNumber from, EntryRecord& entry, int direction);
  EntryNumber NextKeyed(int direction, EntryRecord& candidate);
  EntryNumber AlphabeticalStart();
};

}  // namespace vrk
