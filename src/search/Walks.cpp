#include "search/Walks.h"

#include <algorithm>
#include <optional>

#include "index/Keys.h"
#include "platform/Ui.h"
#include "support/Support.h"

namespace vrk {

// Forward walks in entry order read many slots at a time; the tested fields first, the rest of a
// member after. Other walks jump about and read each entry whole.
struct ListWalk::Reader {
  Reader(CatalogStore& store, FieldMask tested) : tested(tested), test(store, tested), full(store) {}
  FieldMask tested;
  EntryReader test;
  EntryReader full;
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

// The sorted chain from `from` on (from its first entry when `from` is 0) along NextSorted or
// PrevSorted. The chain ends at LastSorted (FirstSorted) and at an entry whose link names itself; a
// damaged chain ends after as many steps as there are entries.
EntryNumber ListWalk::Chained(EntryNumber from, EntryRecord& entry, int direction) {
  const CatalogSettings& settings = context_.store.settings;
  const EntryNumber count = context_.store.header.Count();
  const auto last = static_cast<EntryNumber>(direction > 0 ? settings.LastSorted : settings.FirstSorted);
  EntryRecord candidate = entry;
  EntryNumber n = from;
  for (EntryNumber steps = 0; steps <= count; ++steps) {
    if (n == 0) {
      n = static_cast<EntryNumber>(settings.FirstSorted);
    } else {
      const auto link = static_cast<EntryNumber>(direction > 0 ? candidate.NextSorted : candidate.PrevSorted);
      if (n == last || link == n) return 0;
      n = link;
    }
    if (n < 1 || n > count) return 0;
    if (!Step() || !Read(n, candidate, false)) return 0;
    if (IsMember(candidate)) {
      std::swap(entry, candidate);
      return n;
    }
  }
  return 0;
}

// The browse index's keys after (before) its position. An alphabetical search ends at the first key
// that no longer starts with the key-field criterion; an output run also at the first entry beyond
// the ending point, browsing at the first member beyond it (going forward only).
EntryNumber ListWalk::Indexed(EntryNumber from, EntryRecord& entry, int direction) {
  CatalogStore& store = context_.store;
  const SearchState& search = context_.search;
  const short handle = context_.browseHandle;
  if (handle == kNoIndex) return 0;
  const bool ending = !search.endingPoint.Empty() && direction > 0;
  const bool output = use_ == WalkUse::kOutput;
  EntryRecord candidate;
  for (;;) {
    if (!Step()) return 0;
    const EntryNumber n = direction > 0 ? NextInIndex(store, handle) : PreviousInIndex(store, handle);
    if (n <= 0) {
      if (n < 0) end_ = WalkEnd::kFailed;
      return 0;
    }
    if (!Read(n, candidate, false)) return 0;
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
  if (context_.browseHandle != kNoIndex) lib::CloseNDX(context_.browseHandle);
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
      if (context_.store.settings.SortedMark == 1.0f) return Chained(0, entry, 1);
      return Sequential(1, entry, 1);
    case kGlobalSearch:
    case kDeletedList: return Sequential(1, entry, 1);
    case kRangeList: return Sequential(search.range.start, entry, 1);
    case kAlphabeticalSearch:
    case kAlphabeticalList: {
      if (search.keyField < 0 || search.keyField >= kFieldCount) return 0;
      EntryRecord candidate;
      for (EntryNumber n = AlphabeticalStart(); n > 0;) {
        if (!Step() || !Read(n, candidate, false)) return 0;
        const bool beyond = !search.endingPoint.Empty() && EndingPointTest(search, candidate);
        if (kind_ == kAlphabeticalList) {
          if (beyond && use_ == WalkUse::kOutput) return 0;
          std::swap(entry, candidate);
          return n;
        }
        // Keys before the criterion's range fail it as well as keys after: until the first match
        // every key that fails is passed over.
        if (AlphabeticalCriteriaTest(search, candidate) == AlphaTest::kMatch) {
          if (beyond) return 0;
          std::swap(entry, candidate);
          return n;
        }
        n = NextInIndex(context_.store, context_.browseHandle);
        if (n < 0) end_ = WalkEnd::kFailed;
      }
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
      if (context_.store.settings.SortedMark == 1.0f) return Chained(from, entry, direction);
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
