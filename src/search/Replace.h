// Search and Replace: every occurrence of a text replaced by another, in one chosen field of every
// entry (Field Replace) or in every field (Global Replace), from a starting entry to the last. Changed
// entries are written back one by one as the walk goes; a change of a key field's text refiles the
// entry's keys as Save does, so that alphabetical browsing stays right without a ReIndex (the refiles
// of many entries gathered and done together, the indexes marked as being changed until the end).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "catalog/CatalogStore.h"
#include "catalog/EntryChange.h"
#include "search/SearchState.h"

namespace vrk {

// The Search and Replace dialog: what it shows, and what the user answers.
struct ReplaceDialog {
  std::string searchText;
  std::string replacement;
  std::string startRec = "1";                         // as typed: digits only
  std::vector<std::pair<std::string, short>> fields;  // cboFields: every field with a length, its name and index
  short field = 0;                                    // the chosen item's field index
  bool global = false;
  EntryNumber entryCount = 0;
};
// The dialog as it opens: the search text shown, the replacement empty, "1" as the starting record
// and the first field chosen.
ReplaceDialog ReplaceDialogFor(const CatalogStore& store, const std::string& searchText);

// The box OK's checks sent the user back to.
enum class ReplaceBox { kNone, kSearchString, kStartRec };
// OK's checks, in order: an empty search text ("No Search Text Specified"), a starting record beyond
// the last entry ("Starting Record is too large!", after which the box holds the entry count).
// kNone when the dialog may close.
ReplaceBox CheckReplaceDialog(Ui& ui, ReplaceDialog& dialog);
// What a confirmed dialog stores: the search text into `searchText`, the rest into `state`.
void StoreReplaceDialog(const ReplaceDialog& dialog, std::string& searchText, ReplaceState& state);

// The text ReplaceSubstr works on for a field: its text without trailing blanks, which the library may
// lengthen by up to 255 characters. So a search text that ends in a blank never matches at the end
// of a field's content.
std::string ReplaceWorkBuffer(const std::string& fieldText);
// Replaces in one field of the record: true when the search text occurred, the field then holding
// the result, cut at the field's length or blank-padded to it.
bool ReplaceInField(std::string& field, std::size_t length, const std::string& search, const std::string& replacement,
                    bool caseSensitive);

struct ReplaceResult {
  long changed = 0;    // fields in which the search text was replaced
  bool stored = true;  // false when a read, a write or an index failed, after its message; the run stopped there
};
// Field Replace or Global Replace as `state` says, with the gauge and its Cancel, the main window
// disabled meanwhile. "No Matches Found" with a beep when nothing was replaced. The caller has checked
// that the catalog may be changed, and erases the screen afterwards. Every entry written is added to
// `changes` when given, for Undo.
ReplaceResult RunReplace(CatalogStore& store, const std::string& searchText, const ReplaceState& state,
                         bool caseSensitive, EntryChanges* changes = nullptr);

}  // namespace vrk
