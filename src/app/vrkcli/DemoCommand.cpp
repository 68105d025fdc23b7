// vrkcli demo BASE: the demo record collection, made the current catalog in the program directory's
// VRK.INI.
#include <iostream>

#include "app/vrkcli/Cli.h"
#include "platform/Paths.h"
#include "shell/DemoCatalog.h"
#include "shell/Startup.h"

namespace vrk::cli {

int CommandDemo(const Args& args) {
  if (args.size() != 1) return BadUsage("demo");
  std::string directory, name;
  if (!SplitCatalogPath(args[0], directory, name)) return BadInput("not a catalog base path: " + args[0]);
  if (const int status = RefuseTakenName(directory, name, "NEW")) return status;
  Session session;
  SetProgramDirectory(session.program, ProgramDirectory(""));
  if (!MakeDemoCatalog(session.program, directory, name)) return kFailed;
  std::cout << session.program.header.Count() << " entries in " << args[0] << '\n';
  // A report setting that could not be stored has said so: the catalog is there, but not all of it.
  return session.ui.messageCount == 0 ? 0 : kFailed;
}

}  // namespace vrk::cli
