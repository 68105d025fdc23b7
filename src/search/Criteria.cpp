#include "search/Criteria.h"

#include "catalog/Catalog.h"

namespace vrk {

void RebuildCriterionSet(CriterionSet& set, const CatalogHeader& header, const std::vector<std::string>& texts) {
  set.Clear();
  for (std::size_t i = 0; i < texts.size() && i < static_cast<std::size_t>(kFieldCount); ++i) {
    if (texts[i].empty() || header.FieldLength[i] < 1) continue;
    set.lines[static_cast<std::size_t>(set.count++)] = {static_cast<short>(i), texts[i]};
  }
}

std::vector<std::string> CriterionTexts(const CriterionSet& set, int boxes) {
  std::vector<std::string> texts(static_cast<std::size_t>(boxes));
  for (const CriterionLine& line : set) {
    if (line.field >= 0 && line.field < boxes) texts[static_cast<std::size_t>(line.field)] = line.text;
  }
  return texts;
}

KeyFieldList KeyFieldListFor(const CatalogStore& store, short selectedKeyField) {
  KeyFieldList list;
  for (int i = 0; i < kFieldCount; ++i) {
    const FieldDef& field = store.fieldTable[static_cast<std::size_t>(i)];
    if (!IsKeyField(field)) continue;
    if (i == selectedKeyField) list.current = static_cast<int>(list.items.size());
    list.items.push_back({field.Name, static_cast<short>(i)});
  }
  if (list.current < 0 && !list.items.empty()) list.current = 0;
  return list;
}

bool SetCaseSensitive(CatalogStore& store, bool caseSensitive) {
  store.caseSensitive = caseSensitive;
  if (!store.writable || store.catalogName.empty()) return true;
  return WriteSettings(store, store.catalogName, store.settings);
}

namespace {

// The number in a box of digits; a number too long for any catalog counts as very large.
EntryNumber BoxNumber(const std::string& text) {
  EntryNumber n = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') continue;
    n = n * 10 + (c - '0');
    if (n > kMostEntries) return kMostEntries + 1;
  }
  return n;
}

}  // namespace

RangeCheck CheckListRange(const std::string& startText, const std::string& endText, EntryNumber entryCount) {
  RangeCheck check;
  const auto fail = [&check](const char* message, RangeBox focus) {
    check.message = message;
    check.focus = focus;
  };
  const EntryNumber start = BoxNumber(startText);
  const EntryNumber end = BoxNumber(endText);
  if (startText.empty()) {
    fail("Invalid Start #", RangeBox::kStart);
  } else if (endText.empty()) {
    fail("Invalid End #", RangeBox::kEnd);
  } else if (start < 1) {
    fail("Start # must be greater than 0", RangeBox::kStart);
  } else if (start > end) {
    fail("End # must be greater than or equal to Start #", RangeBox::kEnd);
  } else if (end > entryCount) {
    fail("End # must not be greater than the number on entries.", RangeBox::kEnd);
    check.endText = std::to_string(entryCount);
  } else {
    check.range = {start, end};
  }
  return check;
}

std::string CheckGlobalText(const std::string& text) { return text.empty() ? "No Search Text Specified" : ""; }

}  // namespace vrk
