// Search setup without windows: building the criterion sets from the dialogs' boxes, the key-field
// list of the Search and List Alphabetically dialogs, the Case Sensitive setting, and the checks of
// the List Range and Global Search dialogs (which vrkcli applies to its arguments too).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalog/CatalogStore.h"
#include "search/SearchState.h"

namespace vrk {

// Rebuilds `set` from box texts by field index (texts[i] belongs to field index i; the Search dialog
// has 20 boxes, the Criteria dialog 21): emptied first, then one line, text as typed, for each field
// in ascending order whose length is at least 1 and whose text is not empty.
void RebuildCriterionSet(CriterionSet& set, const CatalogHeader& header, const std::vector<std::string>& texts);
// The box texts of a set by field index (`boxes` of them), empty where the set has no line; a line on
// a field without a box is left out.
std::vector<std::string> CriterionTexts(const CriterionSet& set, int boxes);

// The key fields offered by the Search and List Alphabetically dialogs, in field order, each named as
// stored (all 14 characters); `current` is the selected key field's item, else the first, -1 when the
// catalog has no key field.
struct KeyFieldItem {
  std::string name;
  short field = 0;
};
struct KeyFieldList {
  std::vector<KeyFieldItem> items;
  int current = -1;
};
KeyFieldList KeyFieldListFor(const CatalogStore& store, short selectedKeyField);

// Sets the catalog's Case Sensitive setting and saves it in the setup file at once, so that it outlasts
// the dialog even when the dialog is cancelled. A catalog opened only for reading keeps it for this
// run. False, after the File Error message, when the setup file could not be written.
bool SetCaseSensitive(CatalogStore& store, bool caseSensitive);

// The List Range dialog's OK, on the texts of its boxes (digits only). On the first failed check
// `message` is its text and `focus` the box that gets the focus; an End # beyond the catalog puts
// the entry count into the End # box (`endText`), so that a second OK accepts it.
enum class RangeBox { kStart, kEnd };
struct RangeCheck {
  std::string message;  // empty when the range was accepted
  RangeBox focus = RangeBox::kStart;
  std::optional<std::string> endText;
  ListRange range;  // when accepted
};
RangeCheck CheckListRange(const std::string& startText, const std::string& endText, EntryNumber entryCount);

// The Global Search dialog's OK: "No Search Text Specified" for an empty text, empty when accepted.
std::string CheckGlobalText(const std::string& text);

}  // namespace vrk
