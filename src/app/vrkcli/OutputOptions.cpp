#include "app/vrkcli/OutputOptions.h"

#include "catalog/EntryText.h"
#include "catalog/Files.h"
#include "dbase/DbfEngine.h"
#include "platform/PdfPrinter.h"
#include "report/PrintedOutput.h"
#include "report/ReportFormat.h"
#include "search/OutputRun.h"

namespace vrk::cli {
namespace {

// The entries on stdout in dump's line format, written out in large pieces.
class LineOutput : public EntryOutput {
 public:
  explicit LineOutput(const CatalogStore& store) : store_(store) {}
  bool Start() override { return true; }
  Sent Send(EntryNumber n, const EntryRecord& entry) override {
    AppendEntryLine(out_, store_, n, entry);
    return out_.size() < kOutputChunk || WriteOut(out_) ? Sent::kMore : Sent::kFailed;
  }
  bool Finish(EntryNumber) override { return WriteOut(out_); }

 private:
  const CatalogStore& store_;
  std::string out_;
};

// An output that cannot be made: it says why, and nothing is written.
class RefusedOutput : public EntryOutput {
 public:
  RefusedOutput(CatalogStore& store, std::string why) : store_(store), why_(std::move(why)) {}
  bool Start() override {
    store_.ui.Message(why_);
    return false;
  }
  Sent Send(EntryNumber, const EntryRecord&) override { return Sent::kFailed; }
  bool Finish(EntryNumber) override { return false; }

 private:
  CatalogStore& store_;
  std::string why_;
};

// The printed report through the PDF printer module, which lives as long as the output.
class PdfOutput : public EntryOutput {
 public:
  PdfOutput(Program& program, std::unique_ptr<Printer> printer) : printer_(std::move(printer)) {
    output_ = MakeReportOutput({program, *printer_, program.report, false}, ReportDestination::kPrinter);
  }
  bool Start() override { return output_->Start(); }
  Sent Send(EntryNumber n, const EntryRecord& entry) override { return output_->Send(n, entry); }
  bool Finish(EntryNumber count) override { return output_->Finish(count); }

 private:
  std::unique_ptr<Printer> printer_;
  std::unique_ptr<EntryOutput> output_;
};

}  // namespace

std::unique_ptr<EntryOutput> MakePdfOutput(Program& program, const std::string& path) {
#ifdef VRK_PDF
  std::string why;
  if (auto printer = LoadPdfPrinter(path, why)) return std::make_unique<PdfOutput>(program, std::move(printer));
  return std::make_unique<RefusedOutput>(program, why);
#else
  (void)path;
  return std::make_unique<RefusedOutput>(program, "This vrkcli prints no PDF files: it was built without Qt.");
#endif
}

int ParseOutputOptions(Args& args, OutputOptions& options) {
  options.lossy = TakeFlag(args, "--lossy");
  Args rest;
  int destinations = 0;
  bool printed = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option != "--dbf" && option != "--ascii" && option != "--html" && option != "--pdf" && option != "--title" &&
        option != "--paper") {
      rest.push_back(option);
      continue;
    }
    if (i + 1 == args.size()) return BadInput(option + (option == "--title" ? " needs a TEXT" : " needs a FILE"));
    const std::string& value = args[++i];
    if (option == "--title" || option == "--paper") {
      printed = true;
      if (option == "--title") {
        std::string error;
        const auto title = FieldValue(value, error, {.what = "--title", .entryFile = false, .lossy = options.lossy});
        if (!title) return BadInput(error);
        options.title = *title;
      } else if (value == "continuous" || value == "single" || value == "labels") {
        options.paper = value == "continuous" ? PaperOption::kContinuous
                        : value == "single"   ? PaperOption::kSingleSheet
                                              : PaperOption::kLabels;
      } else {
        return BadInput("--paper is continuous, single or labels: " + value);
      }
      continue;
    }
    ++destinations;
    if (option == "--ascii") {
      options.ascii = value;
    } else if (option == "--html") {
      options.html = value;
    } else if (option == "--pdf") {
      options.pdf = value;
    } else {
      options.dbf = value;
      const std::string table = DbfTableFile(options.dbf);
      if (table.empty()) return BadInput("not a file name: " + options.dbf);
      // A table is never written over: the path might name anything, a catalog's own files included.
      if (FileExists(table)) return BadInput(options.dbf + " already exists");
    }
  }
  if (destinations > 1) return BadInput("only one of --dbf, --ascii, --html and --pdf");
  if (printed && options.pdf.empty()) return BadInput("--title and --paper go with --pdf");
  args = rest;
  return 0;
}

EntryOutput::Sent CommandOutput::Send(EntryNumber n, const EntryRecord& entry) {
  const Sent sent = output_->Send(n, entry);
  if (sent == Sent::kFailed) failed_ = true;
  return sent;
}

bool CommandOutput::Finish(EntryNumber count) {
  if (!output_->Finish(count)) failed_ = true;
  return !failed_;
}

namespace {

std::unique_ptr<EntryOutput> MakeDestination(Session& session, const OutputOptions& options) {
  Program& program = session.program;
  if (!options.dbf.empty()) return MakeDbaseOutput(program, options.dbf);
  if (options.ascii.empty() && options.html.empty() && options.pdf.empty())
    return std::make_unique<LineOutput>(program);
  LoadCatalogReportFormat(program, program.report.format);
  if (program.reportFormatName.empty()) {
    return std::make_unique<RefusedOutput>(program,
                                           "No report format selected. Printer and file output disabled.  Go to the "
                                           "Report Maintenance screen and select a report format.  vrkcli "
                                           "format select BASE NAME selects one.");
  }
  if (!options.ascii.empty()) return MakeAsciiOutput(program.Report(), options.ascii);
  if (!options.html.empty()) return MakeAsciiOutput(program.Report(), options.html, kHtmlForm);
  program.report.paper = options.paper;
  // The title dialog, answered by --title; without one the report has no title.
  session.ui.dialogs.Register<ReportTitle>([title = options.title](ReportTitle& asked) {
    asked.title = title;
    return !title.empty();
  });
  return MakePdfOutput(program, options.pdf);
}

}  // namespace

std::unique_ptr<CommandOutput> MakeOutput(Session& session, const OutputOptions& options) {
  return std::make_unique<CommandOutput>(MakeDestination(session, options));
}

}  // namespace vrk::cli
