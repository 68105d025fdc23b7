// VRK.INI, the settings file in the program directory: the current catalog, the report destination
// and the search mode. Each value is written at once when it changes; a failed write says so.
#pragma once

#include <string>
#include <string_view>

#include "platform/Paths.h"
#include "shell/Program.h"

namespace vrk {

// [Database] CurrentDB: the base path of the current catalog, empty when none was chosen.
std::string ReadCurrentCatalog(const Program& program);
// [Reports] ReportDest; a value outside 0 to 4 is the main window.
ReportDestination ReadReportDestination(const Program& program);
// [Search] SearchMode; 0 is alphabetical, anything else sequential.
SearchMode ReadSearchMode(const Program& program);

// False, after a message, when VRK.INI could not be written.
bool WriteSetting(Program& program, std::string_view section, std::string_view key, std::string_view value);
bool WriteCurrentCatalog(Program& program, const std::string& basePath);
bool WriteReportDestination(Program& program, ReportDestination destination);
bool WriteSearchMode(Program& program, SearchMode mode);

}  // namespace vrk
