// The entries of a list or search on their way to a report destination other than the main window.
// The search layer's output run walks the catalog and hands every entry it sends to one EntryOutput:
// Start before the first, Send for each in walk order, Finish at the end, also after Cancel.
#pragma once

#include <memory>
#include <string>

#include "report/AsciiFile.h"
#include "report/ReportState.h"

namespace vrk {

class EntryOutput {
 public:
  virtual ~EntryOutput() = default;

  // Before the first entry: asks for a report title or a file. False ends the run without output
  // and without a message (the user gave no file, the printer could not start).
  virtual bool Start() = 0;

  enum class Sent {
    kMore,    // send the next one
    kFull,    // the output takes no more (Quick View's row limit): the walk stops, Finish follows
    kFailed,  // the output failed and said so: the walk stops and Finish is not called
  };
  virtual Sent Send(EntryNumber n, const EntryRecord& entry) = 0;

  // After the last entry sent, `count` of them: the totals, the closing and the completion message;
  // Quick View shows its window. False when the output could not be made whole, which has been said
  // instead of the completion message.
  virtual bool Finish(EntryNumber count) = 0;
};

// The output of a report destination this layer writes (printer, Quick View, ASCII or HTML file); null for
// the main window and the dBase file, which are not report output, and for a destination whose output
// is not built yet.
std::unique_ptr<EntryOutput> MakeReportOutput(const ReportContext& context, ReportDestination destination);
// The ASCII (or HTML) file destination into `path`, replaced without a question.
std::unique_ptr<EntryOutput> MakeAsciiOutput(const ReportContext& context, const std::string& path,
                                             const ReportFileForm& form = kAsciiForm);

}  // namespace vrk
