#include "search/OutputRun.h"

#include "dbase/DbfExport.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "report/Completion.h"

namespace vrk {
namespace {

// A new dBase III table with one record per entry sent.
class DbaseOutput : public EntryOutput {
 public:
  DbaseOutput(CatalogStore& store, std::string path) : store_(store), path_(std::move(path)) {}

  bool Start() override {
    if (path_.empty()) {
      const std::string name = GetDBFName(store_);
      store_.ui.DoEvents();
      if (name.empty()) return false;
      path_ = store_.programDirectory + "/" + name + ".DBF";
    }
    store_.ui.ShowBusy();
    // A table that could not be made has said why; nothing would reach it.
    return CreateDBF(store_, engine_, path_, table_);
  }

  Sent Send(EntryNumber, const EntryRecord& entry) override {
    // A record the engine refused has said so; the next entry is tried.
    (void)AppendDBFRecord(store_, engine_, entry, table_);
    return Sent::kMore;
  }

  void Finish(EntryNumber count) override {
    // A close that failed has said so; the completion message follows all the same.
    (void)CloseDBF(store_, engine_, table_.handle);
    const std::string file = DbfTableFile(path_);
    if (count == 0) {
      // No table is left behind for a run that found nothing; one that stays is a valid empty table.
      (void)sys::RemoveFile(NativePath(file));
    } else {
      store_.ui.ClearBusy();
      ShowCompletionMessage(store_, ExportCompletionText(count, PathText(file)));
    }
  }

 private:
  CatalogStore& store_;
  std::string path_;
  DbfEngine engine_;
  DbfOutput table_;
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
