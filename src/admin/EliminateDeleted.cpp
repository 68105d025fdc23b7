#include "admin/EliminateDeleted.h"

#include "admin/Replacement.h"
#include "admin/Sort.h"
#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/FileIo.h"
#include "index/Rebuild.h"
#include "platform/LongOperation.h"

namespace vrk {

bool ConfirmEliminateDeleted(Ui& ui) {
  return ui.ShowMessage({"This operation will PERMANENTLY erase all\rrecords marked as deleted. Proceed?", kAppTitle,
                         Buttons::YesNo, Icon::Question, true}) == Answer::Yes;
}

EntryNumber EliminateDeleted(CatalogStore& store) {
  Ui& ui = store.ui;
  const EntryNumber count = store.header.Count();
  LongOperation busy(ui, {.busy = true});
  LongOperation purging(
      ui, {.windowDisabled = true, .gauge = Gauge{static_cast<double>(count), "Purging deleted entries....", false}});
  Replacement replacement(store);
  CatalogHeader kept = store.header;
  EntryNumber written = 0;
  bool ok = replacement.Begin();
  if (ok) {
    BufferedFile& file = *store.files.Get(replacement.entries());
    const auto length = static_cast<std::size_t>(store.header.EntryLength);
    file.BeginBatch();
    ok = VisitSlots(store, store.entryFile, store.header, 1, count, false, [&](EntryNumber, char* slot) {
      (void)ui.StepGauge();
      if (GetSingle(slot) == kStatusDeleted) return true;
      ++written;
      return WriteBlock(store, replacement.entries(), static_cast<std::int64_t>(length) * written,
                        std::string_view(slot, length));
    });
    kept.EntryCount = static_cast<float>(written);
    ok = EndBlocks(store, replacement.entries(), store.BasePath() + kStagedEntries) && ok &&
         WriteHeader(store, replacement.entries(), kept);
  }
  purging.End();
  const EntryNumber eliminated = count - written;
  if (ok && eliminated > 0) {
    // The chain and the keys named the old numbers: neither may be used once the new entries are in
    // force, whenever the program stops from here on.
    ok = MarkUnsorted(store) && RemoveKeyIndexes(store, store.fieldTable);
    ok = ok && replacement.Commit(true);
    if (replacement.committed()) {
      store.header = kept;
      ok = ReIndex(store) && ok;
    }
  }
  busy.End();
  return ok ? eliminated : -1;
}

}  // namespace vrk
