#include "shell/Settings.h"

#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Ui.h"

namespace vrk {

bool WriteSetting(Program& program, std::string_view section, std::string_view key, std::string_view value) {
  if (WritePrivateProfileString(section, key, value, program.iniPath)) return true;
  program.ui.Message("The settings could not be saved in " + PathText(program.iniPath) + ".", Icon::Exclamation);
  return false;
}

std::string ReadCurrentCatalog(const Program& program) {
  return GetPrivateProfileString("Database", "CurrentDB", "", program.iniPath);
}

ReportDestination ReadReportDestination(const Program& program) {
  const int value = GetPrivateProfileInt("Reports", "ReportDest", 0, program.iniPath);
  return value >= 0 && value <= static_cast<int>(ReportDestination::kHtmlFile) ? static_cast<ReportDestination>(value)
                                                                               : ReportDestination::kMainWindow;
}

SearchMode ReadSearchMode(const Program& program) {
  return GetPrivateProfileInt("Search", "SearchMode", 1, program.iniPath) == 0 ? SearchMode::kAlphabetical
                                                                               : SearchMode::kSequential;
}

bool WriteCurrentCatalog(Program& program, const std::string& basePath) {
  return WriteSetting(program, "Database", "CurrentDB", basePath);
}

bool WriteReportDestination(Program& program, ReportDestination destination) {
  return WriteSetting(program, "Reports", "ReportDest", std::to_string(static_cast<int>(destination)));
}

bool WriteSearchMode(Program& program, SearchMode mode) {
  return WriteSetting(program, "Search", "SearchMode", std::to_string(static_cast<int>(mode)));
}

}  // namespace vrk
