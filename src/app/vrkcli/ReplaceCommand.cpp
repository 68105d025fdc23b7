// vrkcli replace: Search and Replace over a catalog's entries, with the dialog's checks.
#include <iostream>

#include "app/vrkcli/Cli.h"
#include "search/Replace.h"
#include "shell/Editing.h"
#include "shell/Startup.h"

namespace vrk::cli {

int CommandReplace(const Args& given) {
  Args args = given;
  const bool lossy = TakeFlag(args, "--lossy");
  if (args.size() < 3) return BadUsage("replace");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kChange)) return status;
  if (program.header.Count() == 0) {
    std::cerr << "vrkcli: " << args[0] << " has no entries: nothing to replace\n";
    return kNothingFound;
  }
  std::string error;
  const auto search = FieldValue(args[1], error, {.what = "SEARCH", .lossy = lossy});
  const auto replacement = search ? FieldValue(args[2], error, {.what = "REPLACEMENT", .lossy = lossy}) : std::nullopt;
  if (!search || !replacement) return BadInput(error);
  ReplaceDialog dialog = ReplaceDialogFor(program, *search);
  dialog.replacement = *replacement;
  dialog.global = true;
  bool caseSensitive = program.caseSensitive;
  for (std::size_t i = 3; i < args.size(); ++i) {
    const bool valued = args[i] == "--field" || args[i] == "--from";
    if (valued && i + 1 == args.size()) return BadUsage("replace");
    if (args[i] == "--field") {
      const int field = FindField(program.fieldTable, args[++i]);
      if (field < 0 || program.header.FieldLength[static_cast<std::size_t>(field)] == 0) {
        return BadInput("no such field: " + args[i]);
      }
      dialog.field = static_cast<short>(field);
      dialog.global = false;
    } else if (args[i] == "--from") {
      dialog.startRec = args[++i];
      if (dialog.startRec.empty() || dialog.startRec.find_first_not_of("0123456789") != std::string::npos) {
        return BadInput("not an entry number: " + dialog.startRec);
      }
    } else if (args[i] == "--case" || args[i] == "--ignore-case") {
      caseSensitive = args[i] == "--case";
    } else {
      return BadUsage("replace");
    }
  }
  if (CheckReplaceDialog(program.ui, dialog) != ReplaceBox::kNone) return kBadInput;
  if (!MayChangeEntries(program)) return kFailed;
  StoreReplaceDialog(dialog, program.search.globalText, program.search.replace);
  const ReplaceResult result = RunReplace(program, program.search.globalText, program.search.replace, caseSensitive);
  if (result.stored) std::cout << result.changed << '\n';
  if (!CloseCurrentCatalog(program) || !result.stored) return kFailed;
  return result.changed > 0 ? 0 : session.ui.nothingFound ? kNothingFound : kFailed;
}

}  // namespace vrk::cli
