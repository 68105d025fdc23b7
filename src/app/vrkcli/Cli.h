// What the commands of vrkcli share: the session they work in, catalog paths, field references and
// the output format (UTF-8 lines, values separated by one TAB, trailing blanks removed).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "admin/CatalogFiles.h"
#include "app/vrkcli/TerminalUi.h"
#include "catalog/Catalog.h"
#include "catalog/Layout.h"
#include "platform/Printer.h"
#include "platform/Sound.h"
#include "shell/Program.h"
#include "shell/TextScreen.h"

namespace vrk::cli {

// The exit statuses: 0 for success, and
inline constexpr int kFailed = 1;        // after any failure message
inline constexpr int kBadInput = 2;      // a usage error or refused input
inline constexpr int kNothingFound = 3;  // a search, list or replacement found nothing

using Args = std::vector<std::string>;

// Everything one command works with.
struct Session {
  TerminalUi ui;
  TextScreen screen;
  SilentSound sound;
  NoPrinter printer;
  Program program{{ui, screen, sound, printer}};
};

// Prints one line about bad input and returns the exit status for it.
int BadInput(const std::string& message);
// Prints the usage lines of the command and returns the exit status for bad input.
int BadUsage(std::string_view command);

std::string Ansi(const std::string& utf8);
// "1 entry", "2 entries".
std::string EntriesText(EntryNumber count);
// A catalog text for output: trailing blanks removed, UTF-8.
std::string Out(const std::string& ansi);

// BASE as an import makes it: a catalog that does not exist yet (once a rename or removal of that name
// left half done is finished), in a directory that does. Returns 0, or the exit status after printing
// why not.
int CheckNewBase(Ui& ui, const std::string& base, std::string& directory, std::string& name);
// Refuses NAME as the name of a new catalog of `directory`, or as the new name of the catalog `self`,
// when a catalog of that name is there or its index files would be another catalog's. Returns 0, or
// the exit status after printing why not.
int RefuseTakenName(const std::string& directory, const std::string& name, const std::string& command,
                    const std::string& self = "");
// Opens BASE as the current catalog: for reading, or for a change, which locks it against other
// programs changing it. Returns 0, or the exit status after printing why not.
int OpenBase(Session& session, const std::string& base, CatalogAccess access);
// `path`, the file FILE names, as the target of an export of the open catalog: its directory exists, it
// is none of the files no output may replace (report/OutputTarget.h), and a file there is replaced only
// with `overwrite`. Returns 0, or the
// exit status after printing why not.
int CheckExportTarget(const Program& program, const std::string& file, const std::string& path, bool overwrite);
// Takes every `flag` out of `args`; true when there was one.
bool TakeFlag(Args& args, const std::string& flag);
// Where a typed text goes: `what` names it in messages ("field 2 (Title)", "--title"); a text for the
// entry file must be kept by code page 437 too, others only by code page 1252. `lossy` (--lossy)
// lets a character neither keeps become its closest form.
struct TextUse {
  std::string what;
  bool entryFile = true;
  bool lossy = false;
};
// A text typed for a field or an option, in code page 1252; empty with `error` set for one with a
// control character, or with a character its use cannot keep exactly (naming the first) unless
// lossy, which says how many characters changed.
std::optional<std::string> FieldValue(const std::string& utf8, std::string& error, const TextUse& use);
// "field 2 (Title)".
std::string FieldWhat(const FieldTable& fields, int field);
// A field by number 1 to 21 or by name (letter case and trailing blanks ignored); -1 when none.
int FindField(const FieldTable& fields, const std::string& reference);
// An entry number 1 to EntryCount, or 0.
EntryNumber ParseEntryNumber(const Program& program, const std::string& text);
// A layout from fields NAME:LENGTH[:key][:sum][:calc=XoY], as the setup editor would accept it.
// Returns 0, or the exit status after printing what is wrong.
int ParseLayout(const Args& specs, CatalogLayout& layout);
// Entry lines (AppendEntryLine) gather in a buffer and go out in pieces of this size.
inline constexpr std::size_t kOutputChunk = 64 * 1024;
inline constexpr const char* kOutputRefused = "vrkcli: the output could not be written";
// Writes the text to the standard output and empties it; false, after saying so, when the output
// refused it.
bool WriteOut(std::string& text);

int CommandNew(const Args& args);
int CommandAdd(const Args& args);
int CommandInfo(const Args& args);
int CommandDump(const Args& args);
int CommandWalk(const Args& args);
// The catalog table's rows: filtered and ordered as the desktop's table shows them.
int CommandList(const Args& args);
int CommandDelete(const Args& args);
int CommandUndelete(const Args& args);
int CommandReindex(const Args& args);
int CommandTotals(const Args& args);
int CommandImportDbf(const Args& args);
int CommandExportDbf(const Args& args);
int CommandImportCsv(const Args& args);
int CommandExportCsv(const Args& args);
int CommandExportXlsx(const Args& args);
// A demo record collection, made the current catalog.
int CommandDemo(const Args& args);
int CommandCatalogs(const Args& args);
int CommandEditLayout(const Args& args);
int CommandRename(const Args& args);
int CommandRemove(const Args& args);
int CommandReserve(const Args& args);
int CommandBackup(const Args& args);
int CommandSort(const Args& args);
int CommandUnsort(const Args& args);
int CommandCopyEntries(const Args& args);
int CommandEliminate(const Args& args);
int CommandSetCode(const Args& args);
int CommandMemo(const Args& args);
int CommandMedia(const Args& args);
int CommandMacros(const Args& args);
// Report formats (new, show, select) and a catalog's report settings.
int CommandFormat(const Args& args);
int CommandSettings(const Args& args);
int CommandReplace(const Args& args);
int CommandSearch(const Args& args);
int CommandListRange(const Args& args);
int CommandListAlpha(const Args& args);
int CommandFindDeleted(const Args& args);
int CommandGlobalSearch(const Args& args);

}  // namespace vrk::cli
