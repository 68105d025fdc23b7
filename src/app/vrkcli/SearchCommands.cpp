// The search and list commands of vrkcli: each runs the View menu's operation with its entries sent
// to stdout or a dBase III table.
#include <algorithm>

#include "app/vrkcli/OutputOptions.h"
#include "index/Rebuild.h"
#include "search/Criteria.h"
#include "shell/Searching.h"
#include "shell/Startup.h"

namespace vrk::cli {
namespace {

// What a command found: 0 when it sent entries, 3 when it found none (and said so), 1 when anything
// failed (and said so).
int SentStatus(Session& session, const CommandOutput& output, EntryNumber sent) {
  if (!CloseCurrentCatalog(session.program) || output.failed()) return kFailed;
  return sent > 0 ? 0 : session.ui.nothingFound ? kNothingFound : kFailed;
}

// FIELD=TEXT into texts[field], the text kept exactly as typed; a field takes one text.
int FieldText(const Program& program, const std::string& arg, std::vector<std::string>& texts, bool lossy) {
  const auto equals = arg.find('=');
  if (equals == std::string::npos) return BadInput("not FIELD=TEXT: " + arg);
  const int field = FindField(program.fieldTable, arg.substr(0, equals));
  if (field < 0 || program.header.FieldLength[static_cast<std::size_t>(field)] < 1) {
    return BadInput("no such field: " + arg.substr(0, equals));
  }
  std::string error;
  const auto text =
      FieldValue(arg.substr(equals + 1), error, {.what = FieldWhat(program.fieldTable, field), .lossy = lossy});
  if (!text) return BadInput(error);
  std::string& kept = texts[static_cast<std::size_t>(field)];
  if (!kept.empty()) return BadInput("field " + std::to_string(field + 1) + " is given twice: " + arg);
  kept = *text;
  return 0;
}

// KEYFIELD as the selected key field, its index made trustworthy first.
int SelectKeyField(Program& program, const std::string& reference) {
  const int field = FindField(program.fieldTable, reference);
  if (field < 0) return BadInput("no such field: " + reference);
  if (!IsKeyField(program.fieldTable[static_cast<std::size_t>(field)])) {
    return BadInput("field " + std::to_string(field + 1) + " is not a key field");
  }
  program.search.keyField = static_cast<short>(field);
  return CheckKeyIndexes(program) ? 0 : kFailed;
}

// The alphabetical options: --start TEXT on the key field, --end FIELD=TEXT lines. Other arguments
// go to `other`, which refuses them unless it takes them.
template <typename Other>
int AlphabeticalOptions(Program& program, const Args& args, std::size_t from, bool lossy, std::string& start,
                        std::vector<std::string>& ends, Other other) {
  for (std::size_t i = from; i < args.size(); ++i) {
    const bool valued = i + 1 < args.size();
    if (args[i] == "--start" && valued) {
      std::string error;
      const auto text = FieldValue(args[++i], error, {.what = "--start", .lossy = lossy});
      if (!text) return BadInput(error);
      start = *text;
    } else if (args[i] == "--end" && valued) {
      if (const int status = FieldText(program, args[++i], ends, lossy)) return status;
    } else if (const int status = other(args, i)) {
      return status;
    }
  }
  return 0;
}

// The starting and ending points of an alphabetical walk on the selected key field.
void SetPoints(Program& program, const std::string& start, const std::vector<std::string>& ends) {
  std::vector<std::string> starts(kFieldCount);
  starts[static_cast<std::size_t>(program.search.keyField)] = start;
  RebuildCriterionSet(program.search.startingPoint, program.header, starts);
  RebuildCriterionSet(program.search.endingPoint, program.header, ends);
}

bool Digits(const std::string& text) { return text.find_first_not_of("0123456789") == std::string::npos; }

}  // namespace

int CommandSearch(const Args& given) {
  Args args = given;
  OutputOptions options;
  if (const int status = ParseOutputOptions(args, options)) return status;
  if (args.empty()) return BadUsage("search");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kRead)) return status;
  std::vector<std::string> criteria(kFieldCount), ends(kFieldCount);
  std::string start, keyField;
  const int status =
      AlphabeticalOptions(program, args, 1, options.lossy, start, ends, [&](const Args& all, std::size_t& i) {
        if (all[i] == "--alpha" && i + 1 < all.size()) {
          keyField = all[++i];
          return 0;
        }
        return all[i].rfind("--", 0) == 0 ? BadUsage("search") : FieldText(program, all[i], criteria, options.lossy);
      });
  if (status) return status;
  if (keyField.empty() &&
      (!start.empty() || std::any_of(ends.begin(), ends.end(), [](auto& e) { return !e.empty(); }))) {
    return BadInput("--start and --end go with --alpha KEYFIELD");
  }
  RebuildCriterionSet(program.search.criteria, program.header, criteria);
  program.search.mode = SearchMode::kSequential;
  if (!keyField.empty()) {
    if (const int selected = SelectKeyField(program, keyField)) return selected;
    program.search.mode = SearchMode::kAlphabetical;
    SetPoints(program, start, ends);
  }
  const auto output = MakeOutput(session, options);
  return SentStatus(session, *output, SearchRun(program, output.get()));
}

int CommandListRange(const Args& given) {
  Args args = given;
  OutputOptions options;
  if (const int status = ParseOutputOptions(args, options)) return status;
  if (args.size() != 3) return BadUsage("list-range");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kRead)) return status;
  const RangeCheck check =
      CheckListRange(Digits(args[1]) ? args[1] : "", Digits(args[2]) ? args[2] : "", program.header.Count());
  if (!Digits(args[1]) || !Digits(args[2]) || !check.message.empty()) {
    if (!Digits(args[1]) || !Digits(args[2])) return BadInput(!Digits(args[1]) ? "Invalid Start #" : "Invalid End #");
    // An end beyond the last entry: how many there are.
    const bool beyond = check.message.rfind("End # must not", 0) == 0;
    return BadInput(check.message +
                    (beyond ? " The catalog has " + EntriesText(program.header.Count()) + "." : std::string()));
  }
  program.search.range = check.range;
  const auto output = MakeOutput(session, options);
  return SentStatus(session, *output, ListRangeRun(program, output.get()));
}

int CommandListAlpha(const Args& given) {
  Args args = given;
  OutputOptions options;
  if (const int status = ParseOutputOptions(args, options)) return status;
  if (args.size() < 2) return BadUsage("list-alpha");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kRead)) return status;
  if (std::none_of(program.fieldTable.begin(), program.fieldTable.end(), IsKeyField)) {
    return BadInput("You must define at least on index field to list alphabetically.");
  }
  std::vector<std::string> ends(kFieldCount);
  std::string start;
  const int status = AlphabeticalOptions(program, args, 2, options.lossy, start, ends,
                                         [&](const Args&, std::size_t&) { return BadUsage("list-alpha"); });
  if (status) return status;
  if (const int selected = SelectKeyField(program, args[1])) return selected;
  SetPoints(program, start, ends);
  const auto output = MakeOutput(session, options);
  return SentStatus(session, *output, ListAlphabeticallyRun(program, output.get()));
}

int CommandFindDeleted(const Args& given) {
  Args args = given;
  OutputOptions options;
  if (const int status = ParseOutputOptions(args, options)) return status;
  if (args.size() != 1) return BadUsage("find-deleted");
  Session session;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kRead)) return status;
  const auto output = MakeOutput(session, options);
  return SentStatus(session, *output, FindDeleted(session.program, output.get()));
}

int CommandGlobalSearch(const Args& given) {
  Args args = given;
  OutputOptions options;
  if (const int status = ParseOutputOptions(args, options)) return status;
  std::optional<bool> caseSensitive;
  Args rest;
  for (const std::string& arg : args) {
    if (arg == "--case" || arg == "--ignore-case") {
      if (caseSensitive) return BadUsage("global-search");
      caseSensitive = arg == "--case";
    } else {
      rest.push_back(arg);
    }
  }
  if (rest.size() != 2) return BadUsage("global-search");
  std::string error;
  const auto text = FieldValue(rest[1], error, {.what = "TEXT", .lossy = options.lossy});
  if (!text) return BadInput(error);
  if (const std::string refused = CheckGlobalText(*text); !refused.empty()) return BadInput(refused);
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, rest[0], CatalogAccess::kRead)) return status;
  // For this run only: the catalog's own setting is not changed.
  if (caseSensitive) program.caseSensitive = *caseSensitive;
  program.search.globalText = *text;
  const auto output = MakeOutput(session, options);
  return SentStatus(session, *output, GlobalSearchRun(program, output.get()));
}

}  // namespace vrk::cli
