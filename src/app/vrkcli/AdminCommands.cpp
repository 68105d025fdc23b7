// The catalog administration commands of vrkcli: the catalogs of a directory, a new layout, renaming,
// removing, reserving space, backing up, sorting, copying entries, eliminating deleted entries and the
// security code.
#include <iostream>

#include "admin/CatalogFiles.h"
#include "admin/CatalogMaintenance.h"
#include "admin/CopyEntries.h"
#include "admin/EditCatalog.h"
#include "admin/EliminateDeleted.h"
#include "admin/SecurityCode.h"
#include "admin/Sort.h"
#include "app/vrkcli/Cli.h"
#include "catalog/Journal.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Programs.h"
#include "shell/Settings.h"
#include "shell/Startup.h"

namespace vrk::cli {
namespace {

bool IsDirectory(const std::string& directory) {
  sys::FileId id;
  return sys::IdOfPath(directory.empty() ? "/" : directory, id) == 0 && !FileExists(directory);
}

bool SameDirectory(const std::string& a, const std::string& b) {
  sys::FileId first, second;
  return sys::IdOfPath(a.empty() ? "/" : a, first) == 0 && sys::IdOfPath(b.empty() ? "/" : b, second) == 0 &&
         first == second;
}

// A catalog of BASE held against other programs, in the session's store: its lock taken, its entry
// file open. Returns 0, or the exit status after printing why not.
int HoldBase(Session& session, const std::string& base, std::string& directory, std::string& name) {
  if (!SplitCatalogPath(base, directory, name)) return BadInput("not a catalog base path: " + base);
  if (!FinishJournals(session.ui, session.program.fileSystem, directory, name)) return kFailed;
  if (!FileExists(directory + "/" + name + ".DAT")) return BadInput("no catalog " + base);
  return HoldCatalog(session.program, directory, name, false) ? 0 : kFailed;
}

// VRK.INI's current catalog follows a rename of the catalog it names to `newName`, or is cleared when
// `newName` is empty (the catalog was removed), as Catalog Maintenance does. False after the message
// of a refused write.
bool FollowCurrentCatalog(Program& program, const std::string& directory, const std::string& name,
                          const std::string& newName) {
  SetProgramDirectory(program, ProgramDirectory(""));
  const std::string current = ReadCurrentCatalog(program);
  std::string currentDirectory, currentName;
  if (!SplitCatalogPath(current, currentDirectory, currentName) || currentName != name) return true;
  // A name without a directory is a catalog of the program directory.
  if (current.find('/') == std::string::npos) currentDirectory = program.programDirectory;
  if (!SameDirectory(currentDirectory, directory)) return true;
  return WriteCurrentCatalog(program, newName.empty() ? "" : currentDirectory + "/" + newName);
}

bool HasConfirmation(const Args& args) { return args.size() == 2 && args[1] == "--yes"; }

// A number of at most `digits` digits; -1 for anything else.
long Digits(const std::string& text, std::size_t digits) {
  if (text.empty() || text.size() > digits || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stol(text);
}

}  // namespace

int CommandCatalogs(const Args& args) {
  if (args.size() != 1) return BadUsage("catalogs");
  std::string directory = args[0];
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  if (!IsDirectory(directory)) return BadInput("no directory " + args[0]);
  Session session;
  std::string out;
  for (const CatalogLine& line : ListCatalogs(session.program, directory)) {
    out += line.name + "\t" + std::to_string(line.entries) + "\n";
  }
  return WriteOut(out) && session.ui.messageCount == 0 ? 0 : kFailed;
}

int CommandEditLayout(const Args& args) {
  if (args.size() < 2) return BadUsage("edit-layout");
  CatalogLayout layout;
  if (const int status = ParseLayout(Args(args.begin() + 1, args.end()), layout)) return status;
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kChange)) return status;
  const bool changed = ChangeLayout(program, layout);
  return CloseCurrentCatalog(program) && changed ? 0 : kFailed;
}

int CommandRename(const Args& args) {
  if (args.size() != 2) return BadUsage("rename");
  const std::string newName = UpperAscii(args[1]);
  if (!IsCatalogName(newName)) return BadInput("not a catalog name (1 to 8 letters and digits): " + args[1]);
  Session session;
  std::string directory, name;
  if (SplitCatalogPath(args[0], directory, name) &&
      !FinishJournals(session.ui, session.program.fileSystem, directory, newName))
    return kFailed;
  if (SplitCatalogPath(args[0], directory, name)) {
    if (const int status = RefuseTakenName(directory, newName, "Rename", name)) return status;
  }
  if (const int status = HoldBase(session, args[0], directory, name)) return status;
  if (!RenameCatalogFiles(session.program, directory, name, newName)) return kFailed;
  return FollowCurrentCatalog(session.program, directory, name, newName) ? 0 : kFailed;
}

int CommandRemove(const Args& args) {
  if (!HasConfirmation(args)) return BadUsage("remove");
  Session session;
  std::string directory, name;
  if (const int status = HoldBase(session, args[0], directory, name)) return status;
  if (!RemoveCatalogFiles(session.program, directory, name)) return kFailed;
  return FollowCurrentCatalog(session.program, directory, name, "") ? 0 : kFailed;
}

int CommandReserve(const Args& args) {
  if (args.size() != 2 || Digits(args[1], 4) < 0) return BadUsage("reserve");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kChange)) return status;
  const EntryNumber count = Digits(args[1], 4);
  const bool reserved = ReserveEntrySlots(program, count);
  if (reserved) std::cout << ReservedSizeText(count, program.header.EntryLength) << " K\n";
  return CloseCurrentCatalog(program) && reserved ? 0 : kFailed;
}

int CommandBackup(const Args& args) {
  std::string directory, name;
  if (args.size() != 1 || !SplitCatalogPath(args[0], directory, name)) return BadUsage("backup");
  // vrkback says where the archive went, or what failed, and exits as vrkcli does.
  const int status = sys::RunProgram({"vrkback", directory + "/" + name});
  if (status < 0) std::cerr << "vrkcli: the backup program vrkback could not be run\n";
  return status < 0 ? kFailed : status;
}

int CommandSort(const Args& args) {
  if (args.size() < 2) return BadUsage("sort");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kChange)) return status;
  SortSetup setup(program);
  for (std::size_t i = 1; i < args.size(); ++i) {
    const int field = FindField(program.fieldTable, args[i]);
    if (field < 0 || program.header.FieldLength[static_cast<std::size_t>(field)] == 0) {
      return BadInput("no such field: " + args[i]);
    }
    if (!AddSortLevel(setup, static_cast<short>(field))) return kBadInput;  // its message has been printed
  }
  const bool sorted = SortCatalog(program, setup.levels) || program.header.Count() == 0;
  return CloseCurrentCatalog(program) && sorted ? 0 : kFailed;
}

int CommandUnsort(const Args& args) {
  if (args.size() != 1) return BadUsage("unsort");
  Session session;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kChange)) return status;
  const bool unsorted = MarkUnsorted(session.program);
  return CloseCurrentCatalog(session.program) && unsorted ? 0 : kFailed;
}

int CommandCopyEntries(const Args& args) {
  if (args.size() < 2) return BadUsage("copy-entries");
  std::string sourceDirectory, destinationDirectory;
  ConfigureCopy copy;
  if (!SplitCatalogPath(args[0], sourceDirectory, copy.sourceName))
    return BadInput("not a catalog base path: " + args[0]);
  if (!SplitCatalogPath(args[1], destinationDirectory, copy.destinationName)) {
    return BadInput("not a catalog base path: " + args[1]);
  }
  if (!SameDirectory(sourceDirectory, destinationDirectory))
    return BadInput("SOURCE and DEST are copied in one directory");
  Session session;
  Program& program = session.program;
  if (!PrepareConfigureCopy(program, destinationDirectory, copy)) return kFailed;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const auto equals = args[i].find('=');
    const int row = equals == std::string::npos ? -1 : FindField(copy.destinationFields, args[i].substr(0, equals));
    const int source = equals == std::string::npos ? -1 : FindField(copy.sourceFields, args[i].substr(equals + 1));
    if (row < 0 || source < 0) return BadInput("not a mapping D=S of a destination and a source field: " + args[i]);
    ChooseCopySource(copy, row, source);
  }
  program.catalogDirectory = destinationDirectory;
  const EntryNumber copied = CopyEntries(program, destinationDirectory, copy);
  if (copied < 0) return kFailed;
  std::cout << Out(CopiedText(copied, copy)) << '\n';
  return 0;
}

int CommandEliminate(const Args& args) {
  if (!HasConfirmation(args)) return BadUsage("eliminate");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kChange)) return status;
  const EntryNumber eliminated = EliminateDeleted(program);
  if (eliminated >= 0) std::cout << eliminated << '\n';
  return CloseCurrentCatalog(program) && eliminated >= 0 ? 0 : kFailed;
}

int CommandSetCode(const Args& args) {
  const bool current = args.size() == 3 && args[1] == "--current" && Digits(args[2], 3) >= 0;
  if ((args.size() != 1 && !current) || Digits(args[0], 3) < 0) return BadUsage("set-code");
  Session session;
  session.program.programDirectory = ProgramDirectory("");
  // A code that is set is changed only by who knows it.
  SecuritySettings settings;
  if (!ReadSecurityCode(session.program, settings)) return kFailed;
  if (settings.code < kNoSecurityCode && !current) return BadInput("a security code is set: --current N gives it");
  if (settings.code < kNoSecurityCode && Digits(args[2], 3) != settings.code) {
    return BadInput("--current does not give the security code");
  }
  return StoreSecurityCode(session.program, args[0]) ? 0 : kFailed;
}

}  // namespace vrk::cli
