// The options every vrkcli search and list command takes for where its entries go: stdout, one line
// per entry as `dump` writes them, a dBase III table, an ASCII or HTML report or a printed report in a
// PDF file.
#pragma once

#include <memory>
#include <string>

#include "app/vrkcli/Cli.h"
#include "report/Output.h"

namespace vrk::cli {

struct OutputOptions {
  std::string dbf;    // --dbf FILE: the table, taken as given; empty for stdout
  std::string ascii;  // --ascii FILE: an ASCII report through the catalog's report format, FILE replaced
  std::string html;   // --html FILE: that report as a web page, FILE replaced
  std::string pdf;    // --pdf FILE: the printed report, printed into a PDF file
  std::string title;  // --title TEXT: the printed report's title (code page 1252)
  PaperOption paper = PaperOption::kContinuous;  // --paper continuous|single|labels
  bool lossy = false;  // --lossy: texts keep the closest form of characters the catalog cannot hold
};

// Takes the output options out of `args`, leaving the command's own arguments. Returns 0, or the exit
// status after printing what is wrong.
int ParseOutputOptions(Args& args, OutputOptions& options);

// The printed report into a PDF file.
std::unique_ptr<EntryOutput> MakePdfOutput(Program& program, const std::string& path);

// A command's output, which remembers whether anything of it failed: a run that sent entries but
// could not write them all is no success.
class CommandOutput : public EntryOutput {
 public:
  explicit CommandOutput(std::unique_ptr<EntryOutput> output) : output_(std::move(output)) {}
  bool Start() override { return output_->Start(); }
  Sent Send(EntryNumber n, const EntryRecord& entry) override;
  bool Finish(EntryNumber count) override;
  bool failed() const { return failed_; }

 private:
  std::unique_ptr<EntryOutput> output_;
  bool failed_ = false;
};

// The output the options name, for the session's catalog.
std::unique_ptr<CommandOutput> MakeOutput(Session& session, const OutputOptions& options);

}  // namespace vrk::cli
