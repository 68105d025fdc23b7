// The View menu's searches and lists as the user starts them: each dialog's record (what it shows and
// what the user answers), the commands that show the dialog and then run the search or list
// (shell/Searching.h), the Alpha and Sequential buttons, and speed search.
#pragma once

#include <string>
#include <vector>

#include "search/Criteria.h"
#include "shell/Program.h"

namespace vrk {

// One field line of the Search and Criteria dialogs; a field of length 0 shows none.
struct FieldLine {
  bool visible = false;
  std::string name;  // as stored, all 14 characters
  std::string text;
};

// Which criterion set the Criteria dialog edits.
enum class CriteriaMode : short { kStartingPoint = 0, kEndingPoint = 1, kSearchCriteria = 2 };

struct CriteriaDialog {
  CriteriaMode mode = CriteriaMode::kSearchCriteria;
  std::string caption;           // "Setup Alpha Starting Point" …
  std::vector<FieldLine> lines;  // field indexes 0 to 20; OK brings back their texts
};

struct SearchDialog;

// What the search dialogs ask of the program while they are open.
class SearchSetup {
 public:
  virtual ~SearchSetup() = default;
  // Set Start, Set End and Search Setup: the Criteria dialog on the set the mode names.
  virtual void EditCriteria(CriteriaMode mode) = 0;
  // Case Sensitive: the catalog's setting, saved in its setup file at once.
  virtual void SetCaseSensitive(bool caseSensitive) = 0;
  // The Search dialog's OK; false when the dialog stays open.
  virtual bool AcceptSearch(const SearchDialog& dialog) = 0;
  // Report Setup: where the list goes and what a report carries, chosen before the list runs.
  virtual void EditReportSetup() = 0;
};

struct SearchDialog {
  SearchSetup& setup;
  std::vector<FieldLine> lines;  // field indexes 0 to 19
  KeyFieldList keyFields;        // OK brings back the current item
  bool alphabetical = false;     // optAlpha; offered only with a key field
  bool caseSensitive = false;
};

struct ListRangeDialog {
  SearchSetup& setup;
  std::string startText;  // the stored range, empty where it is not set
  std::string endText;
  EntryNumber entryCount = 0;
  ListRange range;  // OK's answer, checked by CheckListRange
};

struct ListAlphaDialog {
  SearchSetup& setup;
  KeyFieldList keyFields;  // OK brings back the current item
};

struct GlobalSearchDialog {
  SearchSetup& setup;
  std::string text;  // OK's answer, checked by CheckGlobalText
  bool caseSensitive = false;
};

// The Search dialog's OK over the program: the criteria rebuilt from the lines, the key field and
// search mode stored, the question when an alphabetical search has no text on the key field (false
// when answered No), the mode written to VRK.INI.
bool AcceptSearch(Program& program, const SearchDialog& dialog);

// View > Search: the dialog, then the search run.
void SearchCommand(Program& program);
// The Alpha and Sequential buttons: the search mode set, then Search.
void AlphaCommand(Program& program);
void SequentialCommand(Program& program);
void ListRangeCommand(Program& program);
void ListAlphaCommand(Program& program);
void GlobalSearchCommand(Program& program);
// A speed-search item of the View menu: asks for the text, then searches alphabetically on the field
// with that text as the only criterion. Nothing for -1, an item without a field.
void SpeedSearchCommand(Program& program, int field);

}  // namespace vrk
