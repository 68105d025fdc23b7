#include "search/OutputRun.h"

#include <optional>

#include "dbase/DbfExport.h"
#include "platform/FileSystem.h"
#include "platform/LongOperation.h"
#include "platform/Paths.h"
#include "report/Completion.h"
#include "report/OutputTarget.h"

namespace vrk {
namespace {

// A new dBase III table with one record per entry sent.
class DbaseOutput : public EntryOutput {
 public:
  DbaseOutput(CatalogStore& store, std::string path) : store_(store), path_(std::move(path)) {
    engine_.system = &store.fileSystem;
  }

  bool Start() override {
    if (path_.empty()) {
      const std::string name = GetDBFName(store_);
      store_.ui.DoEvents();
      if (name.empty()) return false;
      path_ = store_.programDirectory + "/" + name + ".DBF";
    }
    if (RefuseOutputTarget(store_, DbfTableFile(path_))) return false;
    busy_.emplace(store_.ui, LongOperationParts{.busy = true});
    // A table that could not be made has said why; nothing would reach it.
    return CreateDBF(store_, engine_, path_, table_);
  }

  Sent Send(EntryNumber, const EntryRecord& entry) override {
    // A record the engine refused has said so; the next entry is tried, but the table is not whole.
    if (!AppendDBFRecord(store_, engine_, entry, table_)) failed_ = true;
    return Sent::kMore;
  }

  bool Finish(EntryNumber count) override {
    // A table with a record or its header missing is no success: it has said so, and gets no
    // completion message.
    if (!CloseDBF(store_, engine_, table_.handle)) failed_ = true;
    const std::string file = DbfTableFile(path_);
    busy_.reset();
    if (count == 0) {
      // No table is left behind for a run that found nothing; one that stays is a valid empty table.
      (void)sys::RemoveFile(store_.fileSystem, NativePath(file));
    } else {
      if (!failed_ && !WriteDBFCodePage(store_, file)) failed_ = true;
      if (!failed_) ShowCompletionMessage(store_, ExportCompletionText(count, PathText(file)));
    }
    return !failed_;
  }

 private:
  CatalogStore& store_;
  std::string path_;
  DbfEngine engine_;
  DbfOutput table_;
  bool failed_ = false;
  std::optional<LongOperation> busy_;  // from the start of the table to its end
};

}  // namespace

std::unique_ptr<EntryOutput> MakeDbaseOutput(CatalogStore& store, const std::string& path) {
  return std::make_unique<DbaseOutput>(store, path);
}

std::unique_ptr<EntryOutput> MakeEntryOutput(SearchContext& context, ReportDestination destination) {
  switch (destination) {
    case ReportDestination::kMainWindow: return nullptr;
    case ReportDestination::kDbaseFile: return MakeDbaseOutput(context.store);
    default: return MakeReportOutput(context.report, destination);
  }
}

RunCount SendMembers(ListWalk& walk, EntryOutput& output, EntryNumber first, EntryRecord& entry) {
  RunCount count;
  for (EntryNumber n = first; n > 0; n = walk.Next(n, entry)) {
    const EntryOutput::Sent sent = output.Send(n, entry);
    if (sent == EntryOutput::Sent::kFailed) {
      count.failed = true;
      break;
    }
    ++count.sent;
    if (sent == EntryOutput::Sent::kFull) break;
  }
  return count;
}

}  // namespace vrk
