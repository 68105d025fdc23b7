// Starting other programs: the backup program from the desktop and the command line, helpers in tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vrk::sys {

// Runs a program with its arguments, each passed as it is (a path with blanks included), the program
// looked up beside this executable first, and waits for it to end. With `output`, what the program
// writes to its standard output and error is gathered there. Returns its exit status, or -1 when it
// could not start.
std::int16_t RunProgram(std::vector<std::string> arguments, std::string* output = nullptr);

}  // namespace vrk::sys
