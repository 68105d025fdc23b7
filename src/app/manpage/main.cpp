// vrk-manpage DIR DATE: writes the manual pages vrk.1, vrkcli.1 and vrkback.1 into DIR, from the help
// the programs print themselves. Run by the build; not installed.
#include <fstream>
#include <iostream>

#include "app/help/ProgramHelp.h"
#include "app/vrkcli/VrkcliHelp.h"

int main(int argc, char** argv) {
  using namespace vrk::help;
  if (argc != 3) {
    std::cerr << "usage: vrk-manpage DIR DATE\n";
    return 2;
  }
  for (const ProgramHelp* help : {&VrkHelp(), &VrkcliHelp(), &VrkbackHelp()}) {
    const std::string path = std::string(argv[1]) + "/" + std::string(help->name) + ".1";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << ManPage(*help, Version(), argv[2]);
    out.close();
    if (!out) {
      std::cerr << "vrk-manpage: cannot write " << path << '\n';
      return 1;
    }
  }
  return 0;
}
