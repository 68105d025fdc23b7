// The catalog commands of vrkcli.
#include <iostream>

#include "admin/EditCatalog.h"
#include "app/vrkcli/Cli.h"
#include "catalog/Catalog.h"
#include "catalog/ComputedFields.h"
#include "catalog/EntryFile.h"
#include "catalog/EntryText.h"
#include "catalog/Journal.h"
#include "catalog/Layout.h"
#include "csv/CsvFormat.h"
#include "index/Keys.h"
#include "index/Rebuild.h"
#include "platform/CodePage.h"
#include "shell/Browsing.h"
#include "shell/CatalogTable.h"
#include "shell/Editing.h"
#include "shell/Startup.h"
#include "shell/Utilities.h"
#include "support/IndexFile.h"

namespace vrk::cli {

int CommandNew(const Args& args) {
  if (args.size() < 2) return BadUsage("new");
  std::string directory, name;
  if (!SplitCatalogPath(args[0], directory, name)) return BadInput("not a catalog base path: " + args[0]);
  CatalogLayout layout;
  if (const int status = ParseLayout(Args(args.begin() + 1, args.end()), layout)) return status;
  Session session;
  if (!FinishJournals(session.ui, session.program.fileSystem, directory, name)) return kFailed;
  if (const int status = RefuseTakenName(directory, name, "NEW")) return status;
  return MakeCatalog(session.program, directory, name, layout) ? 0 : kFailed;
}

int CommandAdd(const Args& given) {
  Args args = given;
  const bool lossy = TakeFlag(args, "--lossy");
  if (args.empty()) return BadUsage("add");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kChange)) return status;
  EraseScreen(program);
  for (std::size_t i = 1; i < args.size(); ++i) {
    const auto equals = args[i].find('=');
    const int field = equals == std::string::npos ? -1 : FindField(program.fieldTable, args[i].substr(0, equals));
    if (field < 0) return BadInput("no such field: " + args[i]);
    const auto at = static_cast<std::size_t>(field);
    std::string error;
    const std::optional<std::string> value =
        FieldValue(args[i].substr(equals + 1), error, {.what = FieldWhat(program.fieldTable, field), .lossy = lossy});
    if (!value) return BadInput(error);
    if (program.header.FieldLength[at] == 0) return BadInput("field " + std::to_string(field + 1) + " is not used");
    if (program.formulaTable[at].Valid) return BadInput("field " + std::to_string(field + 1) + " is computed");
    if (value->size() > static_cast<std::size_t>(program.header.FieldLength[at])) {
      return BadInput("value longer than field " + std::to_string(field + 1) + " (" +
                      std::to_string(program.header.FieldLength[at]) + " characters): " + args[i]);
    }
    session.screen.SetBoxText(field, *value);
  }
  const EntryNumber n = program.currentEntryNumber;
  const bool whole = SaveEntry(program);
  const bool saved = program.header.Count() == n;
  const bool closed = CloseCurrentCatalog(program);
  if (saved) std::cout << n << '\n';
  return saved && whole && closed ? 0 : kFailed;
}

int CommandInfo(const Args& args) {
  if (args.size() != 1) return BadUsage("info");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kRead)) return status;
  std::cout << "entries\t" << program.header.Count() << "\nentry-length\t" << program.header.EntryLength << "\nsorted\t"
            << (program.settings.SortedMark == 1.0f ? "yes" : "no") << '\n';
  for (int i = 0; i < kFieldCount; ++i) {
    const FieldDef& field = program.fieldTable[static_cast<std::size_t>(i)];
    const char* type =
        IsKeyField(field) ? (IsSumField(field) ? "key+sum" : "key") : (IsSumField(field) ? "sum" : "plain");
    std::cout << i + 1 << '\t' << Out(field.Name) << '\t' << program.header.FieldLength[static_cast<std::size_t>(i)]
              << '\t' << type << '\t' << FormulaText(program.formulaTable[static_cast<std::size_t>(i)]) << '\n';
  }
  return 0;
}

int CommandDump(const Args& args) {
  if (args.size() != 1) return BadUsage("dump");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kRead)) return status;
  EntryRecord record;
  EntryReader entries(program);
  std::string out;
  for (EntryNumber n = 1; n <= program.header.Count(); ++n) {
    if (!entries.Read(n, record)) return kFailed;
    AppendEntryLine(out, program, n, record);
    if (out.size() >= kOutputChunk && !WriteOut(out)) return kFailed;
  }
  return WriteOut(out) ? 0 : kFailed;
}

int CommandWalk(const Args& args) {
  if (args.size() != 2) return BadUsage("walk");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kRead)) return status;
  const int field = FindField(program.fieldTable, args[1]);
  if (field < 0) return BadInput("no such field: " + args[1]);
  if (!IsKeyField(program.fieldTable[static_cast<std::size_t>(field)])) {
    return BadInput("field " + std::to_string(field + 1) + " is not a key field");
  }
  if (!CheckKeyIndexes(program)) return kFailed;
  std::string out;
  EntryNumber n = 0;
  {
    const IndexHandle index(program, field, lib::kNdxOpen);
    if (!index) return kFailed;
    EntryRecord record;
    // From the first key on; an index without keys is an empty walk.
    for (n = SeekInIndex(program, index.get(), ""); n > 0; n = NextInIndex(program, index.get())) {
      if (!ReadEntry(program, record, program.header, n, program.entryFile)) break;
      AppendEntryLine(out, program, n, record);
      if (out.size() >= kOutputChunk && !WriteOut(out)) break;
    }
  }
  const bool whole = n == 0 && WriteOut(out);
  return CloseCurrentCatalog(program) && whole ? 0 : kFailed;
}

namespace {

// delete and undelete: the entry is shown, then the command runs on it as on the screen.
int CommandOnEntry(const Args& args, const char* name, bool (*command)(Program&)) {
  if (args.size() != 2) return BadUsage(name);
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kChange)) return status;
  const EntryNumber n = ParseEntryNumber(program, args[1]);
  if (n == 0) return BadInput("Entry number is out of range.");
  GoToEntry(program, n);
  if (program.currentEntryNumber != n) return kFailed;
  const bool done = command(program);
  return CloseCurrentCatalog(program) && done ? 0 : kFailed;
}

}  // namespace

int CommandDelete(const Args& args) { return CommandOnEntry(args, "delete", DeleteEntry); }

int CommandUndelete(const Args& args) { return CommandOnEntry(args, "undelete", UndeleteEntry); }

int CommandReindex(const Args& args) {
  if (args.size() != 1) return BadUsage("reindex");
  Session session;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kChange)) return status;
  const bool indexed = ReIndexCommand(session.program);
  return CloseCurrentCatalog(session.program) && indexed ? 0 : kFailed;
}

int CommandTotals(const Args& args) {
  if (args.size() != 1) return BadUsage("totals");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kRead)) return status;
  if (TotalCatalog(program) != WalkEnd::kDone) return kFailed;
  for (int i = 0; i < kFieldCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (IsSumField(program.fieldTable[at])) {
      std::cout << Out(program.fieldTable[at].Name) << '\t' << Utf8FromAnsi(FormatStandard(program.totals[at])) << '\n';
    }
  }
  return 0;
}

}  // namespace vrk::cli

namespace vrk::cli {

int CommandList(const Args& given) {
  Args args = given;
  TableQuery query{.hideDeleted = TakeFlag(args, "--hide-deleted")};
  std::string order;
  Args rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--filter" && args[i] != "--order") {
      rest.push_back(args[i]);
      continue;
    }
    if (i + 1 == args.size()) return BadInput(args[i] + (args[i] == "--filter" ? " needs a TEXT" : " needs a FIELD"));
    if (args[i] == "--order") {
      order = args[++i];
      continue;
    }
    std::string error;
    const std::optional<std::string> filter = FieldValue(args[++i], error, {.what = "--filter"});
    if (!filter) return BadInput(error);
    query.filter = *filter;
  }
  if (rest.size() != 1) return BadUsage("list");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, rest[0], CatalogAccess::kRead)) return status;
  const std::optional<TableOrder> ordered = ParseTableOrder(Ansi(order), program.fieldTable, program.header);
  if (!ordered) return BadInput("no such field: " + order);
  query.order = *ordered;
  const TableRows rows = *QueryTable(TableCatalogOf(program), query, std::stop_token());
  if (rows.error != 0) {
    program.ui.ShowMessage({.text = "The entries could not be read (" + ErrorText(rows.error) + ").",
                            .file = program.files.Get(program.entryFile)->path()});
    return kFailed;
  }
  EntryRecord record;
  EntryReader entries(program);
  std::string out;
  for (EntryNumber row = 0; row < rows.Size(); ++row) {
    const EntryNumber n = rows.Entry(row);
    if (!entries.Read(n, record)) return kFailed;
    AppendEntryLine(out, program, n, record);
    if (out.size() >= kOutputChunk && !WriteOut(out)) return kFailed;
  }
  return WriteOut(out) ? 0 : kFailed;
}

}  // namespace vrk::cli
