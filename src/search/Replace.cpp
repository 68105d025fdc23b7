#include "search/Replace.h"

#include <algorithm>

#include "catalog/ComputedFields.h"
#include "catalog/EntryFile.h"
#include "index/KeyIndexChange.h"
#include "index/Keys.h"
#include "index/Rebuild.h"
#include "platform/LongOperation.h"
#include "platform/Ui.h"
#include "search/SearchState.h"
#include "support/Substrings.h"

namespace vrk {
namespace {

// The entry numbers the run walks: the starting record (an empty box meaning 1) to the last entry.
EntryNumber StartingRecord(const std::string& typed) {
  if (typed.empty()) return 1;
  return static_cast<EntryNumber>(std::min(FieldNumber(typed), static_cast<double>(kMostEntries) + 1));
}

// Whether a change of the entries' texts can reach a key index, so the run must keep it in step.
bool TouchesKeys(const CatalogStore& store, const ReplaceState& state) {
  for (int i = 0; i < kFieldCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if ((state.global || i == state.field) && store.header.FieldLength[at] > 0 && IsKeyField(store.fieldTable[at])) {
      return true;
    }
  }
  return false;
}

bool KeysDiffer(const CatalogStore& store, const EntryRecord& before, const EntryRecord& after) {
  for (int i = 0; i < kFieldCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (IsKeyField(store.fieldTable[at]) && store.header.FieldLength[at] > 0 &&
        KeyText(before, i) != KeyText(after, i)) {
      return true;
    }
  }
  return false;
}

// Whether a field of `fields` holds the search text, as ReplaceInField finds it: only then does it
// change a field.
bool HoldsSearchText(const EntryRecord& record, FieldMask fields, const std::string& search, bool caseSensitive) {
  if (search.empty()) return false;
  for (int i = 0; i < kFieldCount; ++i) {
    if (((fields >> i) & 1) == 0) continue;
    std::string_view text = record.Field[static_cast<std::size_t>(i)];
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (lib::IsSubstr(search, text, caseSensitive ? lib::kCaseMustAgree : lib::kCaseIgnored) != 0) return true;
  }
  return false;
}

}  // namespace

ReplaceDialog ReplaceDialogFor(const CatalogStore& store, const std::string& searchText) {
  ReplaceDialog dialog;
  dialog.searchText = searchText;
  dialog.entryCount = store.header.Count();
  for (short i = 0; i < kFieldCount; ++i) {
    if (store.header.FieldLength[static_cast<std::size_t>(i)] > 0) {
      dialog.fields.emplace_back(store.fieldTable[static_cast<std::size_t>(i)].Name, i);
    }
  }
  if (!dialog.fields.empty()) dialog.field = dialog.fields.front().second;
  return dialog;
}

ReplaceBox CheckReplaceDialog(Ui& ui, ReplaceDialog& dialog) {
  if (dialog.searchText.empty()) {
    ui.Message("No Search Text Specified");
    return ReplaceBox::kSearchString;
  }
  if (StartingRecord(dialog.startRec) > dialog.entryCount) {
    ui.Message("Starting Record is too large!");
    dialog.startRec = std::to_string(dialog.entryCount);
    return ReplaceBox::kStartRec;
  }
  return ReplaceBox::kNone;
}

void StoreReplaceDialog(const ReplaceDialog& dialog, std::string& searchText, ReplaceState& state) {
  searchText = dialog.searchText;
  state.replacement = dialog.replacement;
  state.field = dialog.field;
  state.global = dialog.global;
  // Entry 0 is accepted by the box but is no entry: the run starts at entry 1 without an error.
  state.startingRecord = std::max<EntryNumber>(1, StartingRecord(dialog.startRec));
}

std::string ReplaceWorkBuffer(const std::string& fieldText) { return RightTrim(fieldText); }

bool ReplaceInField(std::string& field, std::size_t length, const std::string& search, const std::string& replacement,
                    bool caseSensitive) {
  std::string buffer = ReplaceWorkBuffer(field);
  const bool hadText = !buffer.empty();
  const std::int16_t n =
      lib::ReplaceSubstr(search, replacement, buffer, caseSensitive ? lib::kCaseMustAgree : lib::kCaseIgnored);
  // A result of 0 is also what a field gets whose every character was found and replaced by nothing:
  // the text was there and is gone, so the field becomes blank and counts.
  if (n <= 0 && !(hadText && buffer.empty())) return false;
  field = buffer.substr(0, std::min({static_cast<std::size_t>(std::max<std::int16_t>(n, 0)), length, buffer.size()}));
  field.resize(length, ' ');
  return true;
}

ReplaceResult RunReplace(CatalogStore& store, const std::string& searchText, const ReplaceState& state,
                         bool caseSensitive, EntryChanges* changes) {
  ReplaceResult result;
  KeyIndexChange change(store);
  if (TouchesKeys(store, state) && !change.Open()) {
    result.stored = false;
    return result;
  }
  const EntryNumber last = store.header.Count();
  Ui& ui = store.ui;
  LongOperation replacing(ui, {.busy = true,
                               .windowDisabled = true,
                               .gauge = Gauge{static_cast<double>(last + 1 - state.startingRecord),
                                              state.global ? "Replacing Globally...." : "Replacing ...."}});
  // Whether the indexes agree with the entries as far as the run has gone.
  bool agree = true;
  GatheredKeys gathered(store, change.keys());
  // The slots are read many at a time, and only the fields the run may change are decoded to look for
  // the search text: an entry is decoded whole and copied only when it holds it. No slot is read again
  // once it may have been written.
  FieldMask tested = 0;
  for (int i = 0; i < kFieldCount; ++i) {
    if ((state.global || i == state.field) && store.header.FieldLength[static_cast<std::size_t>(i)] > 0) {
      tested |= FieldMask{1} << i;
    }
  }
  EntryReader reader(store, tested);
  // The changes of the slots the reader holds: they count, and go to Undo, once they are in the file.
  long heldChanged = 0;
  EntryChanges held;
  const auto written = [&] {
    result.changed += heldChanged;
    heldChanged = 0;
    if (changes != nullptr) changes->insert(changes->end(), held.begin(), held.end());
    held.clear();
  };
  EntryRecord probe, record, before;
  for (EntryNumber n = state.startingRecord; n <= last; ++n) {
    if (ui.StepGauge()) break;
    const char* slot = reader.Slot(n);
    if (!reader.Holding()) written();
    if (slot == nullptr) {
      result.stored = false;  // said by the read, or by the write of the slots changed before it
      break;
    }
    DecodeSlot(probe, store.header, slot, tested);
    if (!HoldsSearchText(probe, tested, searchText, caseSensitive)) continue;
    DecodeSlot(record, store.header, slot);
    before = record;
    long here = 0;
    for (int i = 0; i < kFieldCount; ++i) {
      const auto at = static_cast<std::size_t>(i);
      const auto length = static_cast<std::size_t>(store.header.FieldLength[at]);
      if ((!state.global && i != state.field) || length == 0) continue;
      if (ReplaceInField(record.Field[at], length, searchText, state.replacement, caseSensitive)) ++here;
    }
    if (here == 0) continue;
    if (!reader.Write(n, record)) {
      agree = false;  // the slots may hold half an entry
      break;
    }
    heldChanged += here;
    // A deleted entry's changed keys are taken out and not filed again: Undelete files them. The
    // indexes are marked as being changed until the end, so their upkeep may follow the writes.
    if (!change.keys().empty() && KeysDiffer(store, before, record)) {
      agree = gathered.Add(before, record, n, record.Status != kStatusDeleted);
    }
    if (changes != nullptr) held.push_back({.number = n, .before = {.record = before}, .after = {.record = record}});
    if (!agree) break;  // an index refused: the run stops, and the indexes are rebuilt before their next use
  }
  // The changed slots the reader still holds go to the file; after any refused write the slots are in doubt.
  const bool flushed = reader.WriteChanged();
  if (!reader.Holding()) written();
  agree = flushed && agree && gathered.Flush();
  result.stored = change.Finish(agree) && result.stored;
  replacing.End();
  if (result.changed == 0 && result.stored) {
    ui.Beep();
    ui.Message(kNoMatchesFound);
  }
  return result;
}

}  // namespace vrk
