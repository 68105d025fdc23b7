// vrkcli demo BASE: the demo record collection, made the current catalog in the program directory's
// VRK.INI.
#include <iostream>

#include "app/vrkcli/Cli.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "shell/DemoCatalog.h"
#include "shell/Startup.h"

namespace vrk::cli {
namespace {

bool WritableDirectory(const std::string& path) {
  sys::FileId id;
  const std::string directory = path.empty() ? "/" : path;
  return sys::IdOfPath(directory, id) == 0 && !FileExists(directory) && sys::MayWrite(directory);
}

}  // namespace

int CommandDemo(const Args& args) {
  if (args.size() != 1) return BadUsage("demo");
  std::string directory, name;
  if (!SplitCatalogPath(args[0], directory, name)) return BadInput("not a catalog base path: " + args[0]);
  if (const int status = RefuseTakenName(directory, name, "NEW")) return status;
  // Both folders are checked before anything is written, so that a refusal leaves no half a catalog.
  const std::string programDirectory = ProgramDirectory("");
  if (!WritableDirectory(directory)) return BadInput("cannot write into the folder " + directory);
  if (!WritableDirectory(programDirectory)) {
    return BadInput("cannot write into the program folder " + programDirectory +
                    ", where the demo's report format and VRK.INI go");
  }
  Session session;
  SetProgramDirectory(session.program, programDirectory);
  if (!MakeDemoCatalog(session.program, directory, name)) return kFailed;
  std::cout << session.program.header.Count() << " entries in " << args[0] << '\n';
  // A report setting that could not be stored has said so: the catalog is there, but not all of it.
  return session.ui.messageCount == 0 ? 0 : kFailed;
}

}  // namespace vrk::cli
