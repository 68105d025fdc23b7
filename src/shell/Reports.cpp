#include "shell/Reports.h"

#include "platform/Ui.h"
#include "report/OutputTarget.h"
#include "report/ReportMaintenance.h"
#include "report/ReportSetup.h"
#include "shell/EntryScreen.h"
#include "shell/Settings.h"

namespace vrk {

void ReportSetupCommand(Program& program) {
  ReportSetup setup(program.ui, program.settings);
  setup.formatSelected = !program.reportFormatName.empty();
  setup.readOnly = program.readOnly;
  setup.printerFont = &program.report.printerFont;
  if (!setup.formatSelected) {
    program.ui.Message(
        "No report format selected. Printer and file output disabled.  Go to the Report Maintenance screen and "
        "select a report format.");
  }
  FillReportSetup(setup, program.report);
  if (!program.ui.dialogs.Show(setup)) {
    program.ui.dialogCancel = -1;
    return;
  }
  program.screen.SetPanel(Panel::RptDest, ReportDestinationLabel(setup.destination));
  (void)WriteReportDestination(program, setup.destination);  // a failure has had its message
  program.report.destination = setup.destination;
  program.report.paper = setup.paper;
  program.ui.dialogCancel = 0;
  (void)SaveReportSettings(program);  // a failure has had its message
}

void ReportMaintenanceCommand(Program& program) {
  ReportMaintenance maintenance(program, program.report, program.readOnly);
  BuildReportList(maintenance);
  (void)program.ui.dialogs.Show(maintenance);
}

}  // namespace vrk
