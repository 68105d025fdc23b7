// The demo catalog: a record collection of two hundred made-up albums to try the program on, with
// key fields (Artist, Title, Year, Genre), sum fields (Tracks, Price, Copies) and a computed sum
// field (Value = Price × Copies), and a report format of its name that lists artist, title, year, genre
// and price, one line an entry. Field 21 has room for pictures and sounds: the first entries carry
// record sleeves and a chime, written into media/ beside the catalog. It is made by `vrkcli demo` and on the first
// start of an installed program in the user's data folder.
#pragma once

#include <string>

#include "shell/Program.h"

namespace vrk {

inline constexpr const char* kDemoCatalogName = "RECORDS";

// Makes the demo catalog NAME in `directory` with its report format (one already in the program
// directory under that name is taken as it is) and names it in VRK.INI as the current catalog. False,
// after its message, when it could not be made whole; no catalog is open afterwards either way.
bool MakeDemoCatalog(Program& program, const std::string& directory, const std::string& name);

// The first start in the user's data folder (no VRK.INI there yet) makes the demo catalog in it, so
// that a new user finds a catalog to try. Anywhere else nothing happens.
void PrepareUserDataFolder(Program& program, bool userDataFolder);

}  // namespace vrk
