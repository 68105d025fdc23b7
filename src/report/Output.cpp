#include "report/Output.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Printer.h"
#include "platform/Ui.h"
#include "report/AsciiFile.h"
#include "report/Completion.h"
#include "report/OutputTarget.h"
#include "report/PrintedOutput.h"
#include "report/QuickView.h"

namespace vrk {
namespace {

// Every printed or written run starts a new group for Lock Top Line and new totals.
void StartReportRun(const ReportContext& context) {
  context.state.output.prevTopLine.clear();
  context.store.totals.fill(0);
}

class PrinterOutput : public EntryOutput {
 public:
  explicit PrinterOutput(const ReportContext& context) : context_(context), sink_(context.printer) {}

  bool Start() override {
    if (RefuseOutputTarget(context_.store, context_.printer.OutputFile())) return false;
    StartReportRun(context_);
    return !StartPrintRun(context_);
  }

  Sent Send(EntryNumber n, const EntryRecord& entry) override {
    if (!WriteReportEntry(context_, sink_, n, entry)) return Sent::kMore;
    // What was printed before the failure still comes out, when the printer lets it.
    if (!context_.printer.EndDocument()) context_.printer.AbandonDocument();
    return Sent::kFailed;
  }

  bool Finish(EntryNumber count) override {
    if (!WriteRunTotals(context_, sink_, count)) {
      context_.printer.AbandonDocument();
      return false;
    }
    if (!EndPrintJob(context_)) return false;
    if (!context_.previewTitle)
      ShowCompletionMessage(context_.store, PrintedText(count, context_.printer.OutputFile()));
    return true;
  }

 private:
  ReportContext context_;
  PrinterSink sink_;
};

class AsciiOutput : public EntryOutput {
 public:
  // Without a path the user is asked for the file.
  AsciiOutput(const ReportContext& context, std::string path, const ReportFileForm& form)
      : context_(context), path_(std::move(path)), form_(form) {}

  bool Start() override {
    StartReportRun(context_);
    if (path_.empty()) {
      path_ = GetASCFile(context_, form_);
      if (path_.empty()) return false;
    } else {
      if (RefuseOutputTarget(context_.store, path_)) return false;
      StartAsciiFile(context_.state.output);
    }
    file_ = std::make_unique<AsciiReportFile>(context_.store, path_, form_);
    return file_->Open();
  }

  Sent Send(EntryNumber n, const EntryRecord& entry) override {
    if (!WriteReportEntry(context_, *file_, n, entry)) return Sent::kMore;
    (void)file_->Close();  // it has failed, and said so
    return Sent::kFailed;
  }

  bool Finish(EntryNumber count) override {
    if (count == 0) {
      // A run that found nothing leaves no file behind: its own message has said so.
      (void)file_->Close();
      (void)sys::RemoveFile(context_.store.fileSystem, NativePath(path_));
      return true;
    }
    const bool totals = WriteRunTotals(context_, *file_, count);
    if (!file_->Close() || !totals) return false;
    ShowCompletionMessage(context_.store, AsciiWrittenText(count, path_, form_.name));
    return true;
  }

 private:
  ReportContext context_;
  std::string path_;
  const ReportFileForm& form_;
  std::unique_ptr<AsciiReportFile> file_;
};

class QuickViewOutput : public EntryOutput {
 public:
  explicit QuickViewOutput(const ReportContext& context) : context_(context) {}

  bool Start() override {
    view_ = LoadQuickView(context_.store, context_.mayChange);
    view_.edited = context_.entryEdited;
    return true;
  }

  Sent Send(EntryNumber n, const EntryRecord& entry) override {
    const auto most =
        static_cast<std::size_t>(std::clamp<int>(context_.store.settings.QuickViewMaxLines, 1, kQuickViewRows));
    if (!AddQuickViewRow(view_, n, entry)) return Sent::kFull;
    return view_.rows.size() >= most ? Sent::kFull : Sent::kMore;
  }

  // A run that found nothing has said so and shows no empty window.
  bool Finish(EntryNumber count) override {
    if (count > 0) context_.store.ui.dialogs.Show(view_);
    return true;
  }

 private:
  ReportContext context_;
  QuickView view_;
};

}  // namespace

std::unique_ptr<EntryOutput> MakeReportOutput(const ReportContext& context, ReportDestination destination) {
  switch (destination) {
    case ReportDestination::kPrinter: return std::make_unique<PrinterOutput>(context);
    case ReportDestination::kAsciiFile: return std::make_unique<AsciiOutput>(context, "", kAsciiForm);
    case ReportDestination::kHtmlFile: return std::make_unique<AsciiOutput>(context, "", kHtmlForm);
    case ReportDestination::kQuickView: return std::make_unique<QuickViewOutput>(context);
    case ReportDestination::kMainWindow:
    case ReportDestination::kDbaseFile: break;
  }
  return nullptr;
}

std::unique_ptr<EntryOutput> MakeAsciiOutput(const ReportContext& context, const std::string& path,
                                             const ReportFileForm& form) {
  return std::make_unique<AsciiOutput>(context, path, form);
}

}  // namespace vrk
