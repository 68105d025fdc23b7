// The report commands of vrkcli: report formats made, shown and selected, and a catalog's report
// settings shown or changed with Report Setup's checks.
#include <iostream>

#include "app/vrkcli/Cli.h"
#include "platform/Paths.h"
#include "report/ReportDesigner.h"
#include "report/ReportMaintenance.h"
#include "report/ReportSetup.h"
#include "shell/Startup.h"

namespace vrk::cli {
namespace {

// A number of at most `digits` digits; -1 for anything else.
int Number(const std::string& text, std::size_t digits) {
  if (text.empty() || text.size() > digits || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stoi(text);
}

// ITEM@ROW:COL:WIDTH, placed on the designer's page as a click and the width buttons would.
int PlaceSpec(ReportDesigner& designer, const std::string& spec) {
  const auto at = spec.rfind('@');
  const auto colon1 = spec.find(':', at == std::string::npos ? 0 : at);
  const auto colon2 = colon1 == std::string::npos ? colon1 : spec.find(':', colon1 + 1);
  if (at == std::string::npos || colon2 == std::string::npos) {
    return BadInput("bad item " + spec + " (ITEM@ROW:COL:WIDTH)");
  }
  const std::string item = spec.substr(0, at);
  const int k = item == "#" ? kEntryNumberItem : FindField(designer.store.fieldTable, item);
  const int row = Number(spec.substr(at + 1, colon1 - at - 1), 2);
  const int col = Number(spec.substr(colon1 + 1, colon2 - colon1 - 1), 3);
  const int width = Number(spec.substr(colon2 + 1), 3);
  if (k < 0) return BadInput("no field " + item + " (a number 1-21, a field name of the current catalog, or #)");
  // Without a current catalog the fields take any width a field can have.
  const int widest =
      k == kEntryNumberItem || designer.store.CatalogOpen() ? MaxItemWidth(designer.store, k) : kMaxFieldLength;
  if (row < 1 || row > designer.format.LinesPerEntry() || col < 1 || col > kMaxDesignColumn || width < 1 ||
      width > widest) {
    return BadInput("item " + spec + " off the page: line 1-" + std::to_string(designer.format.LinesPerEntry()) +
                    ", column 1-" + std::to_string(kMaxDesignColumn) + ", width 1-" + std::to_string(widest));
  }
  ChooseItem(designer, k);
  designer.format.items[static_cast<std::size_t>(k)].Width = static_cast<short>(width);
  if (!PlaceItem(designer, {row, col})) return BadInput("item " + spec + " is too close to another item");
  return 0;
}

int FormatNew(const Args& args) {
  if (args.empty() || !IsReportName(args[0])) return BadUsage("format");
  const std::string name = UpperAscii(args[0]);
  Session session;
  Program& program = session.program;
  SetProgramDirectory(program, ProgramDirectory(""));
  // The current catalog's fields, for names and widths.
  if (const std::string current = ReadCurrentCatalogName(program); !current.empty()) {
    (void)UseCatalog(program, program.catalogDirectory, current, CatalogAccess::kRead);
  }
  ReportFormat format;
  InitNewReportFormat(program, format);
  ReportDesigner designer(session.ui, program, format, name);
  bool titles = false;
  Args items;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--titles") {
      titles = true;
    } else if (args[i] == "--lines" && i + 1 < args.size()) {
      const int lines = Number(args[++i], 2);
      if (lines < 1 || lines > kReportLines) return BadInput("--lines takes 1 to 21");
      format.items[0].LinesPerEntry = static_cast<short>(lines);
    } else {
      items.push_back(args[i]);
    }
  }
  for (const std::string& spec : items) {
    if (const int status = PlaceSpec(designer, spec)) return status;
  }
  if (titles && !SetShowTitles(designer, true)) return kBadInput;
  if (FileExists(ReportFormatPath(program.programDirectory, name))) {
    session.ui.Message("Report format already exists. NEW Aborted.");
    return kFailed;
  }
  return WriteReportFormat(program, name, format) ? 0 : kFailed;
}

int FormatShow(const Args& args) {
  if (args.size() != 1 || !IsReportName(args[0])) return BadUsage("format");
  Session session;
  session.program.programDirectory = ProgramDirectory("");
  ReportFormat format;
  if (!ReadReportFormat(session.program, UpperAscii(args[0]), format)) {
    session.ui.Message("Report is invalid.");
    return kBadInput;
  }
  std::string out =
      "lines\t" + std::to_string(format.LinesPerEntry()) + "\ntitles\t" + std::to_string(format.header.Width) + "\n";
  for (int k = 0; k < kLayoutItemCount; ++k) {
    const LayoutItem& item = format.items[static_cast<std::size_t>(k)];
    out += (k == kEntryNumberItem ? std::string("#") : std::to_string(k + 1)) + "\t" + std::to_string(item.Row) + "\t" +
           std::to_string(item.Col) + "\t" + std::to_string(item.Width) + "\n";
  }
  return WriteOut(out) ? 0 : kFailed;
}

int FormatSelect(const Args& args) {
  if (args.size() != 2 || !IsReportName(args[1])) return BadUsage("format");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], CatalogAccess::kChange)) return status;
  ReportFormat designer;
  if (!SelectReportFormat(program, program.report, UpperAscii(args[1]), designer)) {
    (void)CloseCurrentCatalog(program);
    return kBadInput;
  }
  return CloseCurrentCatalog(program) && session.ui.messageCount == 0 ? 0 : kFailed;
}

// The settings as KEY=VALUE changes them, in the order Report Setup shows them.
struct SettingKey {
  const char* key;
  std::string ReportSetup::*box;  // a number box, or
  bool ReportSetup::*tick;        // a check box
  std::size_t digits;
};
constexpr SettingKey kKeys[] = {
    {"page-length", &ReportSetup::pageLength, nullptr, kPageLengthDigits},
    {"top-margin", &ReportSetup::topMargin, nullptr, kTopMarginDigits},
    {"dashed-line", nullptr, &ReportSetup::dashedLine, 1},
    {"column-headings", nullptr, &ReportSetup::columnHeadings, 1},
    {"lock-top-line", nullptr, nullptr, 1},
    {"print-memos", nullptr, &ReportSetup::printMemos, 1},
    {"page-numbers", nullptr, &ReportSetup::pageNumbers, 1},
    {"qv-max-lines", &ReportSetup::quickViewLines, nullptr, kQuickViewLinesDigits},
    {"qv-column-width", &ReportSetup::quickViewWidth, nullptr, kQuickViewWidthDigits},
};

int SetKey(ReportSetup& setup, const std::string& assignment) {
  const auto equals = assignment.find('=');
  const std::string key = assignment.substr(0, equals),
                    value = equals == std::string::npos ? "" : assignment.substr(equals + 1);
  for (const SettingKey& known : kKeys) {
    if (equals == std::string::npos || key != known.key) continue;
    const int number = Number(value, known.digits);
    if (known.box != nullptr) {
      // An empty box is Report Setup's to refuse, with its message.
      if (!value.empty() && number < 0)
        return BadInput(key + " takes at most " + std::to_string(known.digits) + " digits");
      setup.*known.box = value;
    } else if (known.tick != nullptr) {
      if (number < 0 || number > 1) return BadInput(key + " takes 0 or 1");
      setup.*known.tick = number == 1;
    } else {
      if (number < 0 || number > 2) return BadInput(key + " takes 0, 1 or 2 (2: no blank line between groups)");
      setup.lockTopLine = number >= 1;
      setup.noSpace = number == 2;
    }
    return 0;
  }
  return BadInput("bad setting " + assignment +
                  " (KEY=VALUE, KEY one of page-length, top-margin, dashed-line, "
                  "column-headings, lock-top-line, print-memos, page-numbers, qv-max-lines, qv-column-width)");
}

}  // namespace

int CommandFormat(const Args& args) {
  const Args rest = args.empty() ? Args{} : Args(args.begin() + 1, args.end());
  if (!args.empty() && args[0] == "new") return FormatNew(rest);
  if (!args.empty() && args[0] == "show") return FormatShow(rest);
  if (!args.empty() && args[0] == "select") return FormatSelect(rest);
  return BadUsage("format");
}

int CommandSettings(const Args& args) {
  if (args.empty()) return BadUsage("settings");
  Session session;
  Program& program = session.program;
  if (const int status = OpenBase(session, args[0], args.size() == 1 ? CatalogAccess::kRead : CatalogAccess::kChange)) {
    return status;
  }
  ReportSetup setup(session.ui, program.settings);
  FillReportSetup(setup, program.report);
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (const int status = SetKey(setup, args[i])) return status;
  }
  if (CheckReportSetup(setup) != SetupBox::kNone) return kBadInput;
  const CatalogSettings& s = program.settings;
  const short values[] = {s.PageLength,
                          s.TopMargin,
                          s.DashedLine,
                          s.ColumnHeadings,
                          s.LockTopLine,
                          s.PrintMemos,
                          s.PageNumbers == 2 ? short{1} : short{0},
                          s.QuickViewMaxLines,
                          s.QuickViewColumnWidth};
  std::string out;
  for (std::size_t i = 0; i < std::size(kKeys); ++i)
    out += std::string(kKeys[i].key) + "\t" + std::to_string(values[i]) + "\n";
  if (args.size() > 1 && !SaveReportSettings(program)) return kFailed;
  return CloseCurrentCatalog(program) && WriteOut(out) ? 0 : kFailed;
}

}  // namespace vrk::cli
