#include "app/vrkcli/OutputOptions.h"

#include <iostream>

#include "catalog/EntryText.h"
#include "catalog/Files.h"
#include "dbase/DbfEngine.h"
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
    if (out_.size() < kOutputChunk || WriteOut(out_)) return Sent::kMore;
    std::cerr << "vrkcli: the output could not be written\n";
    return Sent::kFailed;
  }
  void Finish(EntryNumber) override {
    if (!WriteOut(out_)) std::cerr << "vrkcli: the output could not be written\n";
  }

 private:
  const CatalogStore& store_;
  std::string out_;
};

}  // namespace

int ParseOutputOptions(Args& args, OutputOptions& options) {
  Args rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--dbf") {
      rest.push_back(args[i]);
      continue;
    }
    if (i + 1 == args.size()) return BadInput("--dbf needs a FILE");
    options.dbf = args[++i];
    const std::string table = DbfTableFile(options.dbf);
    if (table.empty()) return BadInput("not a file name: " + options.dbf);
    // A table is never written over: the path might name anything, a catalog's own files included.
    if (FileExists(table)) return BadInput(options.dbf + " already exists");
  }
  args = rest;
  return 0;
}

std::unique_ptr<EntryOutput> MakeOutput(Session& session, const OutputOptions& options) {
  if (!options.dbf.empty()) return MakeDbaseOutput(session.program, options.dbf);
  return std::make_unique<LineOutput>(session.program);
}

}  // namespace vrk::cli
