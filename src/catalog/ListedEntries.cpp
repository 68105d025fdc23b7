#include "catalog/ListedEntries.h"

#include "platform/Ui.h"

namespace vrk {

WalkEnd WalkListedEntries(CatalogStore& store, const std::string& message, const std::vector<EntryNumber>& entries,
                          const std::function<bool(const EntryRecord&, EntryNumber)>& visit) {
  store.ui.OpenGauge(static_cast<double>(entries.size()), message, true);
  WalkEnd end = WalkEnd::kDone;
  EntryRecord record;
  for (const EntryNumber n : entries) {
    if (store.ui.StepGauge()) {
      end = WalkEnd::kCancelled;
    } else if (!ReadEntry(store, record, store.header, n, store.entryFile) || !visit(record, n)) {
      end = WalkEnd::kFailed;
    }
    if (end != WalkEnd::kDone) break;
  }
  store.ui.CloseGauge();
  return end;
}

}  // namespace vrk
