// The tests that decide which entries belong to a search: each looks at one entry record.
#pragma once

#include <array>
#include <string>
#include <vector>

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

// Global search: some field 1 to 21 contains the text, letter case ignored unless the catalog says
// otherwise; deleted entries too. The test reads the slot as stored, without decoding it: each stored
// byte stands for the character it decodes to (upper case when case is ignored), and one scan over the
// used fields' bytes counts only a match that lies wholly inside one field. Given `onlyField`, a field
// index, the test looks at that field alone (the catalog table's field-qualified terms).
class GlobalMatch {
 public:
  GlobalMatch(const std::string& text, bool caseSensitive, const CatalogHeader& header, int onlyField = -1);
  bool operator()(const char* slot) const;

 private:
  std::array<char, 256> key_{};            // the character each stored byte stands for
  std::string sought_;                     // the text, each character as the keys give it
  std::vector<unsigned char> firstBytes_;  // the stored bytes whose key is the text's first
  std::vector<std::size_t> fieldEnds_;     // where each used field ends in the slot
  std::size_t begin_ = 0;                  // where the first field starts
  bool Agrees(const char* slot, std::size_t at, std::size_t& field) const;
};

// The fields the tests of a kind read, for reading no more of each entry than they need.
FieldMask CriteriaFields(const SearchState& search, ListKind kind);

}  // namespace vrk
