// vrkcli: the catalog operations from the command line, for scripting and batch work.
#include <clocale>
#include <cstdio>
#include <iostream>
#include <string>

#include "app/vrkcli/Cli.h"
#include "app/vrkcli/VrkcliHelp.h"

int main(int argc, char** argv) {
  using namespace vrk::cli;
  // The user's locale, for what follows it: the "Standard" format of the totals and the dates of
  // dBase imports. Numbers in field text are read and written with a period whatever it says.
  std::setlocale(LC_ALL, "");
  const vrk::help::ProgramHelp& help = vrk::help::VrkcliHelp();
  if (vrk::help::AnswerHelpOrVersion(help, argc, argv)) return 0;
  if (argc < 2) {
    std::cerr << vrk::help::UsageText(help);
    return kBadInput;
  }
  const std::string command = argv[1];
  const Args args(argv + 2, argv + argc);
  // The help's records are the commands: one it does not describe is unknown.
  const vrk::help::Command* found = vrk::help::FindCommand(help, command);
  if (found == nullptr) {
    std::cerr << "vrkcli: unknown command " << command << '\n' << vrk::help::UsageText(help);
    return kBadInput;
  }
  const int status = found->run(args);
  // What a command prints is part of what it did: output that the disk or pipe refused is a failure.
  if (status == 0 && (!std::cout.flush() || std::fflush(stdout) != 0 || std::ferror(stdout) != 0)) {
    std::cerr << kOutputRefused << '\n';
    return kFailed;
  }
  return status;
}
