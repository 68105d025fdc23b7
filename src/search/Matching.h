// The tests that decide which entries belong to a search: each looks at one entry record.
#pragma once

#include <string>

#include "catalog/EntryFile.h"
#include "search/SearchState.h"

namespace vrk {

// Sequential search: with no criteria every entry passes, deleted or not; otherwise an entry passes
// when it is not deleted and each criterion's field contains the criterion's text, letter case ignored.
bool SequentialCriteriaTest(const SearchState& search, const EntryRecord& entry);

// Alphabetical search: the criterion on the selected key field demands that the field start with its
// text (so, in key order, the first entry that fails it ends the list); the others are contains tests.
enum class AlphaTest {
  kMatch,
  kSkip,  // deleted, or another field's criterion fails: go on with the next key
  kStop,  // the key field no longer starts with its criterion
};
AlphaTest AlphabeticalCriteriaTest(const SearchState& search, const EntryRecord& entry);

// True when the entry lies beyond the ending point: for some line, the entry's field compares greater
// (upper case, character codes) over the shorter of the two lengths. Only called when the ending point
// has lines.
bool EndingPointTest(const SearchState& search, const EntryRecord& entry);

// Global search: some field 1 to 21 contains the text; deleted entries too.
bool GlobalMatchTest(const std::string& text, bool caseSensitive, const EntryRecord& entry);

// The fields the tests of a kind read, for reading no more of each entry than they need.
FieldMask CriteriaFields(const SearchState& search, ListKind kind);

}  // namespace vrk
