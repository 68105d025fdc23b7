#include "shell/SearchCommands.h"

#include "platform/Ui.h"
#include "shell/Reports.h"
#include "shell/Searching.h"
#include "shell/Settings.h"

namespace vrk {
namespace {

// The Search and Criteria dialogs' lines for field indexes 0 to boxes - 1, filled from a set.
std::vector<FieldLine> LinesFor(const Program& program, const CriterionSet& set, int boxes) {
  const std::vector<std::string> texts = CriterionTexts(set, boxes);
  std::vector<FieldLine> lines(static_cast<std::size_t>(boxes));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    lines[i] = {program.header.FieldLength[i] > 0, program.fieldTable[i].Name, texts[i]};
  }
  return lines;
}

std::vector<std::string> TextsOf(const std::vector<FieldLine>& lines) {
  std::vector<std::string> texts;
  for (const FieldLine& line : lines) texts.push_back(line.text);
  return texts;
}

CriterionSet& SetOf(Program& program, CriteriaMode mode) {
  switch (mode) {
    case CriteriaMode::kStartingPoint: return program.search.startingPoint;
    case CriteriaMode::kEndingPoint: return program.search.endingPoint;
    case CriteriaMode::kSearchCriteria: break;
  }
  return program.search.criteria;
}

const char* CriteriaCaption(CriteriaMode mode) {
  switch (mode) {
    case CriteriaMode::kStartingPoint: return "Setup Alpha Starting Point";
    case CriteriaMode::kEndingPoint: return "Setup Alpha Ending Point";
    case CriteriaMode::kSearchCriteria: break;
  }
  return "Setup Search Criteria";
}

class ProgramSearchSetup : public SearchSetup {
 public:
  explicit ProgramSearchSetup(Program& program) : program_(program) {}

  void EditCriteria(CriteriaMode mode) override {
    CriterionSet& set = SetOf(program_, mode);
    CriteriaDialog dialog{mode, CriteriaCaption(mode), LinesFor(program_, set, kFieldCount)};
    if (program_.ui.dialogs.Show(dialog)) RebuildCriterionSet(set, program_.header, TextsOf(dialog.lines));
  }
  void SetCaseSensitive(bool caseSensitive) override { vrk::SetCaseSensitive(program_, caseSensitive); }
  bool AcceptSearch(const SearchDialog& dialog) override { return vrk::AcceptSearch(program_, dialog); }
  void EditReportSetup() override { ReportSetupCommand(program_); }

 private:
  Program& program_;
};

// Shows a dialog, lets the events it left run, and tells whether it was confirmed.
template <typename Dialog>
bool Confirmed(Program& program, Dialog& dialog) {
  const bool confirmed = program.ui.dialogs.Show(dialog);
  program.ui.DoEvents();
  return confirmed;
}

}  // namespace

bool AcceptSearch(Program& program, const SearchDialog& dialog) {
  SearchState& search = program.search;
  RebuildCriterionSet(search.criteria, program.header, TextsOf(dialog.lines));
  const KeyFieldList& keys = dialog.keyFields;
  if (keys.current >= 0) search.keyField = keys.items[static_cast<std::size_t>(keys.current)].field;
  search.mode = dialog.alphabetical ? SearchMode::kAlphabetical : SearchMode::kSequential;
  if (dialog.alphabetical && search.criteria.Find(search.keyField) == nullptr &&
      program.ui.ShowMessage({"There is no search text in the Key Field.\rThis will search the entire catalog and may "
                              "take awhile.\r\rDo you want continue the search anyway?",
                              kAppTitle, Buttons::YesNo, Icon::Question}) != Answer::Yes) {
    return false;
  }
  WriteSearchMode(program, search.mode);
  return true;
}

void SearchCommand(Program& program) {
  ProgramSearchSetup setup(program);
  SearchDialog dialog{setup, LinesFor(program, program.search.criteria, kFieldCount - 1),
                      KeyFieldListFor(program, program.search.keyField)};
  // Without a key field only the sequential order is offered; VRK.INI keeps its value until OK.
  if (dialog.keyFields.items.empty()) program.search.mode = SearchMode::kSequential;
  dialog.alphabetical = program.search.mode == SearchMode::kAlphabetical;
  dialog.caseSensitive = program.caseSensitive;
  if (Confirmed(program, dialog)) SearchRun(program);
}

void AlphaCommand(Program& program) {
  program.search.mode = SearchMode::kAlphabetical;
  SearchCommand(program);
}

void SequentialCommand(Program& program) {
  program.search.mode = SearchMode::kSequential;
  SearchCommand(program);
}

void ListRangeCommand(Program& program) {
  const ListRange& stored = program.search.range;
  ProgramSearchSetup setup(program);
  ListRangeDialog dialog{setup,
                         stored.start > 0 ? std::to_string(stored.start) : "",
                         stored.end > 0 ? std::to_string(stored.end) : "",
                         program.header.Count(),
                         {}};
  if (!Confirmed(program, dialog)) return;
  program.search.range = dialog.range;
  ListRangeRun(program);
}

void ListAlphaCommand(Program& program) {
  ProgramSearchSetup setup(program);
  ListAlphaDialog dialog{setup, KeyFieldListFor(program, program.search.keyField)};
  if (dialog.keyFields.items.empty()) {
    program.ui.Beep();
    program.ui.Message("You must define at least on index field to list alphabetically.");
    return;
  }
  if (!Confirmed(program, dialog)) return;
  program.search.keyField = dialog.keyFields.items[static_cast<std::size_t>(dialog.keyFields.current)].field;
  ListAlphabeticallyRun(program);
}

void GlobalSearchCommand(Program& program) {
  ProgramSearchSetup setup(program);
  GlobalSearchDialog dialog{setup, program.search.globalText, program.caseSensitive};
  if (!Confirmed(program, dialog)) return;
  program.search.globalText = dialog.text;
  GlobalSearchRun(program);
}

void SpeedSearchCommand(Program& program, int field) {
  if (field < 0) return;
  const auto at = static_cast<std::size_t>(field);
  const auto text = program.ui.AskName({.caption = "Search for " + RightTrim(program.fieldTable[at].Name),
                                        .question = "Enter search criteria",
                                        .anyTextAllowed = true,
                                        .maxLength = program.header.FieldLength[at]});
  if (!text) return;
  std::vector<std::string> texts(kFieldCount);
  texts[at] = *text;
  RebuildCriterionSet(program.search.criteria, program.header, texts);
  program.search.keyField = static_cast<short>(field);
  program.search.mode = SearchMode::kAlphabetical;  // for this run and the Search dialog; VRK.INI keeps its own
  SearchRun(program);
}

}  // namespace vrk
