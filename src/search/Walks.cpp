#include "search/Walks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "catalog/EntryBatches.h"
#include "catalog/FileIo.h"
#include "index/Keys.h"
#include "platform/CodePage.h"
#include "platform/Ui.h"
#include "support/IndexFile.h"

namespace vrk {
namespace {

// The entry a link names; 0 for none, and for anything that is not an entry number of the catalog.
EntryNumber LinkedEntry(float link, EntryNumber count) {
  if (!(link >= 1 && link <= static_cast<float>(count)) || std::trunc(link) != link) return 0;
  return static_cast<EntryNumber>(link);
}

// Whether the chain leads from FirstSorted along NextSorted, and from LastSorted along PrevSorted, to
// its end without coming round again: both name entries, and no entry is named as the next (previous)
// one by two entries or by the end of the chain's other direction. One pass in entry order over the
// links as stored, which keeps in `chain`, at each entry's number, its next one and whether
// `candidate` takes its slot (kCandidate): a walk along a whole chain then knows which entries it
// must read before it reads them, from one word an entry, which is all a step of the walk loads.
constexpr std::uint32_t kCandidate = std::uint32_t{1} << 31;
static_assert(kMostEntries < kCandidate);
bool SortedChainWhole(CatalogStore& store, std::vector<std::uint32_t>& chain,
                      const std::function<bool(const char* slot)>& candidate) {
  const EntryNumber count = store.header.Count();
  const CatalogSettings& settings = store.settings;
  if (count == 0) return true;
  const EntryNumber first = LinkedEntry(settings.FirstSorted, count), last = LinkedEntry(settings.LastSorted, count);
  if (first == 0 || last == 0) return false;
  const SlotLayout layout(store.header);
  std::vector<bool> namedNext(static_cast<std::size_t>(count) + 1), namedPrevious(namedNext.size());
  // A link of 0 joins nothing (an entry made after the sort); one that names its own entry ends the chain.
  const auto linked = [count](float stored, EntryNumber n, EntryNumber start, std::vector<bool>& named) {
    if (stored == 0 || stored == static_cast<float>(n)) return true;
    const EntryNumber link = LinkedEntry(stored, count);
    if (link == 0 || link == start || named[static_cast<std::size_t>(link)]) return false;
    named[static_cast<std::size_t>(link)] = true;
    return true;
  };
  bool whole = true;
  chain.assign(namedNext.size(), 0);
  // A read the disk refused has said so; the walk meets it again.
  const bool read = VisitSlots(store, store.entryFile, store.header, 1, count, false, [&](EntryNumber n, char* slot) {
    const float next = GetSingle(slot + layout.links);
    chain[static_cast<std::size_t>(n)] =
        static_cast<std::uint32_t>(LinkedEntry(next, count)) | (candidate(slot) ? kCandidate : 0);
    whole = linked(next, n, first, namedNext) && linked(GetSingle(slot + layout.links + 4), n, last, namedPrevious);
    return whole;
  });
  if (!read || !whole) chain.clear();
  return whole;
}

// The candidates of the chain from `first` on, in chain order, each with its place in the chain
// (from 1), and the chain's length: what a step-by-step walk along `chain` would meet, found without
// waiting for one link after another. The chain is cut into pieces at every entry whose number is a
// multiple of kPiece (and at `first`); many pieces are followed at once, their loads of `chain` in
// flight together, and the pieces are then put in the chain's order. A piece ends where a step of the
// walk would end it (at `last`, at a link that names its own entry or none) and after as many steps as
// there are entries. Pieces off the chain (entries made after the sort) cost their steps and are
// left out.
struct ChainCandidates {
  std::vector<std::uint32_t> entries;
  std::vector<std::uint32_t> places;
  std::size_t length = 0;
};
ChainCandidates CandidatesAlongChain(const std::vector<std::uint32_t>& chain, EntryNumber first, EntryNumber last) {
  constexpr std::uint32_t kPiece = 64;
  constexpr std::size_t kLanes = 16;
  const std::size_t count = chain.size() - 1;
  const auto start = static_cast<std::uint32_t>(first), end = static_cast<std::uint32_t>(last);
  const std::uint32_t firstPiece = static_cast<std::uint32_t>(count / kPiece) + 1;  // the piece of `first`
  const auto pieceOf = [&](std::uint32_t n) { return n == start ? firstPiece : n / kPiece; };
  const auto begins = [&](std::uint32_t n) { return n % kPiece == 0 || n == start; };
  std::vector<std::uint32_t> next(firstPiece + 1, 0), length(firstPiece + 1, 0);
  struct Met {
    std::uint32_t piece, place, entry;
  };
  std::vector<Met> met;
  struct Lane {
    std::uint32_t piece = 0, n = 0, place = 0;
  };
  std::array<Lane, kLanes> lanes{};
  std::size_t busy = 0;
  std::uint32_t queued = kPiece;  // the next multiple of kPiece to start a piece from
  bool firstQueued = true;
  const auto startLane = [&](Lane& lane) {
    if (firstQueued) {
      firstQueued = false;
      lane = {firstPiece, start, 1};
      return true;
    }
    for (; queued <= count; queued += kPiece) {
      if (queued == start) continue;
      lane = {queued / kPiece, queued, 1};
      queued += kPiece;
      return true;
    }
    return false;
  };
  for (Lane& lane : lanes) {
    if (!startLane(lane)) break;
    ++busy;
  }
  while (busy > 0) {
    for (std::size_t l = 0; l < busy;) {
      Lane& lane = lanes[l];
      const std::uint32_t word = chain[lane.n];
      if ((word & kCandidate) != 0) met.push_back({lane.piece, lane.place, lane.n});
      const std::uint32_t link = word & ~kCandidate;
      const bool ends = lane.n == end || link == lane.n || link == 0 || lane.place >= count;
      if (!ends && !begins(link)) {
        lane.n = link;
        ++lane.place;
        ++l;
        continue;
      }
      next[lane.piece] = ends ? 0 : link;
      length[lane.piece] = lane.place;
      if (!startLane(lane)) lane = lanes[--busy];
    }
  }
  // The met entries of each piece together, in the order they were met: where each piece's begin.
  std::vector<std::uint32_t> from(firstPiece + 2, 0);
  for (const Met& m : met) ++from[m.piece + 1];
  for (std::size_t p = 1; p < from.size(); ++p) from[p] += from[p - 1];
  std::sort(met.begin(), met.end(),
            [](const Met& a, const Met& b) { return a.piece != b.piece ? a.piece < b.piece : a.place < b.place; });
  const std::vector<Met>& byPiece = met;
  ChainCandidates found;
  std::uint32_t piece = firstPiece;
  for (;;) {
    for (std::uint32_t k = from[piece]; k < from[piece + 1]; ++k) {
      const std::size_t place = found.length + byPiece[k].place;
      if (place > count) break;
      found.entries.push_back(byPiece[k].entry);
      found.places.push_back(static_cast<std::uint32_t>(place));
    }
    found.length = std::min(count, found.length + length[piece]);
    if (next[piece] == 0 || found.length >= count) break;
    piece = pieceOf(next[piece]);
  }
  return found;
}

// Where the browse index's current key lies against the key-field criterion, over the criterion's
// length (at most a key's). The index holds its keys upper-cased without trailing blanks, in the order
// this compares them, so once a key lies past the criterion every later one does: no entry further on
// can match. A key that ends where it differs from the criterion lies before it.
enum class KeyPlace { kBefore, kWithin, kPast };
KeyPlace KeyCriterionPlace(CatalogStore& store, const SearchState& search, short handle) {
  const CriterionLine* line = search.criteria.Find(search.keyField);
  std::string key;
  if (line == nullptr || lib::CurrentKey(store.indexes, handle, key) != lib::kNdxOk) return KeyPlace::kWithin;
  const std::size_t length = std::min(line->text.size(), lib::kMaxKeyLength);
  for (std::size_t i = 0; i < length; ++i) {
    const auto sought = static_cast<unsigned char>(UpperAnsi(line->text[i]));
    const auto held = i < key.size() ? static_cast<unsigned char>(key[i]) : ' ';
    if (held == sought) continue;
    return i < key.size() && held > sought ? KeyPlace::kPast : KeyPlace::kBefore;
  }
  return KeyPlace::kWithin;
}

}  // namespace

// Forward walks in entry order read many slots at a time; the tested fields first, the rest of a
// member after. Other walks jump about and read each entry whole.
struct ListWalk::Reader {
  Reader(CatalogStore& store, FieldMask tested) : tested(tested), test(store, tested), full(store) {}
  FieldMask tested;
  EntryReader test;
  EntryReader full;
  // A run's walk along a whole chain or forward through an index reads its entries in batches; the
  // chain walk's batches go on only from the member they handed back last.
  std::vector<std::uint32_t> chain;  // the sorted chain and its candidates as SortedChainWhole found them
  std::optional<EntryBatches> batches;
  EntryRecord slotRecord;  // a slot decoded for MayBeMember
  EntryNumber handed = 0;
  // The global search's test, made again when its text or the catalog's case setting has changed.
  std::optional<GlobalMatch> global;
  std::string globalText;
  bool caseSensitive = false;
};

const GlobalMatch& ListWalk::Global() {
  const std::string& text = context_.search.globalText;
  const bool caseSensitive = context_.store.caseSensitive;
  Reader& reader = *reader_;
  if (!reader.global || reader.globalText != text || reader.caseSensitive != caseSensitive) {
    reader.global.emplace(text, caseSensitive, context_.store.header);
    reader.globalText = text;
    reader.caseSensitive = caseSensitive;
  }
  return *reader.global;
}

ListWalk::ListWalk(SearchContext& context, ListKind kind, WalkUse use)
    : context_(context),
      kind_(kind),
      use_(use),
      reader_(std::make_unique<Reader>(context.store, CriteriaFields(context.search, kind))) {}

ListWalk::~ListWalk() = default;

bool ListWalk::Step() {
  if (use_ != WalkUse::kBrowse && context_.store.ui.StepGauge()) {
    end_ = WalkEnd::kCancelled;
    return false;
  }
  return true;
}

bool ListWalk::Read(EntryNumber n, EntryRecord& entry, bool forward) {
  CatalogStore& store = context_.store;
  const bool read = forward ? reader_->test.Read(n, entry) : ReadEntry(store, entry, store.header, n, store.entryFile);
  if (!read) end_ = WalkEnd::kFailed;
  return read;
}

bool ListWalk::IsMember(const EntryRecord& entry) const {
  switch (kind_) {
    case kSequentialSearch: return SequentialCriteriaTest(context_.search, entry);
    case kDeletedList: return entry.Status == kStatusDeleted;
    default: return true;
  }
}

// Whether the entry of a slot as stored passes the criteria. A slot never written (status 0) may stand
// for an entry beyond the end of the file, which reads as blank: its entry is read and tested.
bool ListWalk::MayBeMember(const char* slot) {
  if (GetSingle(slot) == 0) return true;
  EntryRecord& record = reader_->slotRecord;
  DecodeSlot(record, context_.store.header, slot, reader_->tested);
  return IsMember(record);
}

// Entry numbers from n on, one by one in `direction`, up to the end of the catalog (or down to 1);
// kind 5 never leaves its range.
EntryNumber ListWalk::Sequential(EntryNumber n, EntryRecord& entry, int direction) {
  const EntryNumber count = context_.store.header.Count();
  const bool forward = direction > 0;
  EntryRecord candidate;
  // The global search tests the slots as stored, in either direction, and decodes only its members.
  const GlobalMatch* global = kind_ == kGlobalSearch ? &Global() : nullptr;
  for (; n >= 1 && n <= count; n += direction) {
    if (!Step()) return 0;
    // Find Deleted's Next and Previous read on without the gauge: events run every 20 entries.
    if (kind_ == kDeletedList && use_ == WalkUse::kBrowse && n % 20 == 0) context_.store.ui.DoEvents();
    if (global != nullptr) {
      const char* slot = reader_->test.Slot(n);
      if (slot == nullptr) {
        end_ = WalkEnd::kFailed;
        return 0;
      }
      if (!(*global)(slot)) continue;
    }
    if (!Read(n, candidate, forward || global != nullptr)) return 0;
    if (!IsMember(candidate)) continue;
    if (forward && reader_->tested != kAllFields && !reader_->full.Read(n, candidate)) {
      end_ = WalkEnd::kFailed;
      return 0;
    }
    std::swap(entry, candidate);
    return n;
  }
  return 0;
}

void ListWalk::ChainDamaged() {
  context_.search.chainDamaged = true;
  const std::string& name = context_.store.catalogName;
  context_.store.ui.Message(
      "The sorted order of " + name + " is damaged: " + name + " is searched in entry order. Unsort mends it.",
      Icon::Exclamation);
}

bool ListWalk::FollowsChain() const {
  return context_.store.settings.SortedMark == 1.0f && !context_.search.chainDamaged;
}

// The sorted chain from `from` on (from its first entry when `from` is 0) along NextSorted or
// PrevSorted. The chain ends at LastSorted (FirstSorted) and at an entry whose link names itself. A
// chain that runs on for more steps than there are entries is damaged: the walk goes on in entry
// order from there.
EntryNumber ListWalk::Chained(EntryNumber from, EntryRecord& entry, int direction) {
  const CatalogSettings& settings = context_.store.settings;
  const EntryNumber count = context_.store.header.Count();
  const EntryNumber last = LinkedEntry(direction > 0 ? settings.LastSorted : settings.FirstSorted, count);
  if (direction > 0 && !reader_->chain.empty()) return ChainedInBatches(from, entry, last);
  EntryRecord candidate = entry;
  EntryNumber n = from;
  for (EntryNumber steps = 0; steps <= count; ++steps) {
    if (n == 0) {
      n = LinkedEntry(settings.FirstSorted, count);
    } else {
      const EntryNumber link = LinkedEntry(direction > 0 ? candidate.NextSorted : candidate.PrevSorted, count);
      if (n == last || link == n) return 0;
      n = link;
    }
    if (n == 0) return 0;
    if (!Step() || !Read(n, candidate, false)) return 0;
    if (IsMember(candidate)) {
      std::swap(entry, candidate);
      return n;
    }
  }
  ChainDamaged();
  return Sequential(from == 0 ? 1 : from + direction, entry, direction);
}

// Chained forward along the chain SortedChainWhole found whole: it ends at LastSorted, at an entry
// whose link names itself or nothing, and after as many steps as there are entries. Only the entries
// that may be members are read; the gauge steps for every entry of the chain.
EntryNumber ListWalk::ChainedInBatches(EntryNumber from, EntryRecord& entry, EntryNumber last) {
  Reader& reader = *reader_;
  if (!reader.batches || reader.handed != from) {
    const EntryNumber first = LinkedEntry(context_.store.settings.FirstSorted, context_.store.header.Count());
    if (from == 0) {
      // From the chain's start the candidates are found first; the gauge then steps for each entry of
      // the chain up to each candidate, and past the last to the chain's end, as a walk would.
      const std::size_t most = reader.chain.size() - 1;
      reader.batches.emplace(context_.store, [this, found = CandidatesAlongChain(reader.chain, first, last), most,
                                              k = std::size_t{0}, steps = std::size_t{0}]() mutable {
        const bool more = k < found.entries.size();
        const std::size_t upTo = more ? found.places[k] : std::min(found.length + 1, most);
        while (steps < upTo) {
          ++steps;
          if (!Step()) return EntryNumber{0};
        }
        return more ? static_cast<EntryNumber>(found.entries[k++]) : EntryNumber{0};
      });
    } else {
      const std::uint32_t* chain = reader.chain.data();
      const std::size_t size = reader.chain.size();
      reader.batches.emplace(
          context_.store, [this, chain, size, first, last, n = from, steps = std::size_t{0}]() mutable {
            while (++steps < size && Step()) {
              const auto link = static_cast<EntryNumber>(chain[static_cast<std::size_t>(n)] & ~kCandidate);
              n = n == 0 ? first : n == last || link == n ? 0 : link;
              if (n == 0 || (chain[static_cast<std::size_t>(n)] & kCandidate) != 0) return n;
            }
            return EntryNumber{0};
          });
    }
  }
  EntryRecord candidate = entry;
  for (;;) {
    const EntryNumber n = reader.batches->Next(candidate, reader.tested);
    if (n <= 0 || end_ == WalkEnd::kCancelled) {
      if (n < 0) end_ = WalkEnd::kFailed;
      return 0;
    }
    if (!IsMember(candidate)) continue;
    reader.batches->Decode(candidate, kAllFields);
    std::swap(entry, candidate);
    return reader.handed = n;
  }
}

// The entry at the browse index's next (previous) key, read into `candidate`; 0 at the end of the
// index, and going forward in an alphabetical search at the first key past its criterion; -1 after a
// failure. An output run reads forward in batches: the index is closed after it.
EntryNumber ListWalk::NextKeyed(int direction, EntryRecord& candidate) {
  CatalogStore& store = context_.store;
  const short handle = context_.browseHandle;
  const auto nextKey = [this, &store, handle, direction]() -> EntryNumber {
    const EntryNumber n = direction > 0 ? NextInIndex(store, handle) : PreviousInIndex(store, handle);
    const bool past = n > 0 && kind_ == kAlphabeticalSearch && direction > 0 &&
                      KeyCriterionPlace(context_.store, context_.search, handle) == KeyPlace::kPast;
    return past ? 0 : n;
  };
  if (use_ == WalkUse::kOutput && direction > 0) {
    if (!reader_->batches) reader_->batches.emplace(store, nextKey);
    return reader_->batches->Next(candidate);
  }
  const EntryNumber n = nextKey();
  return n > 0 && !Read(n, candidate, false) ? -1 : n;
}

// The browse index's keys after (before) its position. An alphabetical search ends at the first key
// that no longer starts with the key-field criterion; an output run also at the first entry beyond
// the ending point, browsing at the first member beyond it (going forward only).
EntryNumber ListWalk::Indexed(EntryNumber from, EntryRecord& entry, int direction) {
  const SearchState& search = context_.search;
  const short handle = context_.browseHandle;
  if (handle == kNoIndex) return 0;
  const bool ending = !search.endingPoint.Empty() && direction > 0;
  const bool output = use_ == WalkUse::kOutput;
  EntryRecord candidate;
  for (;;) {
    if (!Step()) return 0;
    const EntryNumber n = NextKeyed(direction, candidate);
    if (n <= 0) {
      if (n < 0) end_ = WalkEnd::kFailed;
      return 0;
    }
    if (kind_ == kAlphabeticalList) {
      if (output && ending && EndingPointTest(search, candidate)) return 0;
    } else {
      if (output && ending && EndingPointTest(search, candidate)) return 0;
      const AlphaTest test = AlphabeticalCriteriaTest(search, candidate);
      if (test == AlphaTest::kStop) return 0;
      if (test == AlphaTest::kSkip) continue;
      if (!output && ending && EndingPointTest(search, candidate)) return 0;
      if (n == from) continue;
    }
    std::swap(entry, candidate);
    return n;
  }
}

// Opens the selected key field's index into the browse handle and seeks the start text: the
// starting point's text on the key field, or for an alphabetical search without a starting point the
// key-field criterion's, trailing blanks removed and cut to the key's length.
EntryNumber ListWalk::AlphabeticalStart() {
  CatalogStore& store = context_.store;
  const SearchState& search = context_.search;
  // The browse index is only read through: its close has nothing to write.
  if (context_.browseHandle != kNoIndex) static_cast<void>(lib::CloseNDX(store.indexes, context_.browseHandle));
  context_.browseHandle = OpenIndex(store, search.keyField, store.catalogName, lib::kNdxOpen);
  if (context_.browseHandle == kNoIndex) {
    end_ = WalkEnd::kFailed;
    return 0;
  }
  const CriterionSet& from =
      search.startingPoint.Empty() && kind_ == kAlphabeticalSearch ? search.criteria : search.startingPoint;
  const CriterionLine* line = from.Find(search.keyField);
  std::string start = line ? RightTrim(line->text) : std::string();
  const auto keyLength = std::min<std::size_t>(
      static_cast<std::size_t>(std::max<short>(store.header.FieldLength[static_cast<std::size_t>(search.keyField)], 0)),
      24);
  if (start.size() > keyLength) start.resize(keyLength);
  const EntryNumber n = SeekInIndex(store, context_.browseHandle, start);
  if (n < 0) end_ = WalkEnd::kFailed;
  return std::max<EntryNumber>(n, 0);
}

EntryNumber ListWalk::First(EntryRecord& entry) {
  end_ = WalkEnd::kDone;
  const SearchState& search = context_.search;
  switch (kind_) {
    case kSequentialSearch:
      // The run checks the chain before it follows it; Next and Previous go on as the run found it.
      context_.search.chainDamaged = false;
      if (FollowsChain() &&
          !SortedChainWhole(context_.store, reader_->chain, [this](const char* slot) { return MayBeMember(slot); })) {
        ChainDamaged();
      }
      if (FollowsChain()) return Chained(0, entry, 1);
      return Sequential(1, entry, 1);
    case kGlobalSearch:
    case kDeletedList: return Sequential(1, entry, 1);
    case kRangeList: return Sequential(search.range.start, entry, 1);
    case kAlphabeticalSearch:
    case kAlphabeticalList: {
      if (search.keyField < 0 || search.keyField >= kFieldCount) return 0;
      EntryRecord candidate;
      EntryNumber n = AlphabeticalStart();
      for (; n > 0; n = NextInIndex(context_.store, context_.browseHandle)) {
        if (!Step()) return 0;
        // Keys that fail the key-field criterion are passed over, and the search ends past its range,
        // without reading their entries.
        if (kind_ == kAlphabeticalSearch) {
          const KeyPlace place = KeyCriterionPlace(context_.store, search, context_.browseHandle);
          if (place == KeyPlace::kPast) return 0;
          if (place == KeyPlace::kBefore) continue;
        }
        if (!Read(n, candidate, false)) return 0;
        const bool beyond = !search.endingPoint.Empty() && EndingPointTest(search, candidate);
        if (kind_ == kAlphabeticalList) {
          if (beyond && use_ == WalkUse::kOutput) return 0;
          std::swap(entry, candidate);
          return n;
        }
        // Within the key's range an entry that is deleted or fails another criterion is passed over.
        if (AlphabeticalCriteriaTest(search, candidate) == AlphaTest::kMatch) {
          if (beyond) return 0;
          std::swap(entry, candidate);
          return n;
        }
      }
      if (n < 0) end_ = WalkEnd::kFailed;
      return 0;
    }
    default: return 0;
  }
}

EntryNumber ListWalk::Next(EntryNumber from, EntryRecord& entry) { return Move(from, entry, 1); }

EntryNumber ListWalk::Previous(EntryNumber from, EntryRecord& entry) { return Move(from, entry, -1); }

EntryNumber ListWalk::Move(EntryNumber from, EntryRecord& entry, int direction) {
  end_ = WalkEnd::kDone;
  const ListRange& range = context_.search.range;
  switch (kind_) {
    case kSequentialSearch:
      if (FollowsChain()) return Chained(from, entry, direction);
      return Sequential(from + direction, entry, direction);
    case kRangeList:
      // The range's ends are found by equality: after Select Number outside the range the list runs
      // on to the end (start) of the catalog.
      if (from == (direction > 0 ? range.end : range.start)) return 0;
      return Sequential(from + direction, entry, direction);
    case kGlobalSearch:
    case kDeletedList: return Sequential(from + direction, entry, direction);
    case kAlphabeticalSearch:
    case kAlphabeticalList: return Indexed(from, entry, direction);
    default: return 0;
  }
}

}  // namespace vrk
