// The Report Maintenance window (frmRptMaintenance): the report formats of the program directory, and
// the commands that make, copy, rename, delete, select and edit them. The designer opens on the
// designer copy, which this window keeps.
#pragma once

#include <string>
#include <vector>

#include "report/ReportState.h"

namespace vrk {

struct ReportMaintenance {
  ReportMaintenance(CatalogStore& store, ReportState& state, bool readOnly)
      : store(store), state(state), readOnly(readOnly) {}

  CatalogStore& store;  // the program's: its current report format name and settings
  ReportState& state;   // the current format
  bool readOnly;        // the security code's read-only state: only Select
  std::vector<std::string> names;
  int selected = -1;      // -1 when the list is empty
  ReportFormat designer;  // the copy the designer edits
};

// The names of the program directory's *.FMT files, in capitals and in order.
std::vector<std::string> ListReportFormats(const std::string& programDirectory);
// Fills the list; the current report format, else the first, is selected.
void BuildReportList(ReportMaintenance& maintenance);

// Copy, Edit Report, Rename, Delete and Select need a format in the list; Edit Report, New, Copy,
// Delete and Rename are not for the read-only state.
bool ListCommandsEnabled(const ReportMaintenance& maintenance);
bool ChangingCommandsEnabled(const ReportMaintenance& maintenance);

// The commands of the window's buttons, on the selected format.
void NewReport(ReportMaintenance& maintenance);
void CopyReport(ReportMaintenance& maintenance);
void RenameReport(ReportMaintenance& maintenance);
void DeleteReport(ReportMaintenance& maintenance);
void SelectReport(ReportMaintenance& maintenance);
void EditReport(ReportMaintenance& maintenance);

// Select's work, which vrkcli runs on its own: reads the format (widths clamped to the current
// catalog's fields) into `designer`, makes it the current format and saves the catalog's settings.
// False, after "Report is invalid.", when the format is missing or invalid.
bool SelectReportFormat(CatalogStore& store, ReportState& state, const std::string& name, ReportFormat& designer);

}  // namespace vrk
