#include "admin/EliminateDeleted.h"

#include <algorithm>

#include "admin/Replacement.h"
#include "admin/Sort.h"
#include "catalog/Catalog.h"
#include "catalog/EntryFile.h"
#include "catalog/FileIo.h"
#include "index/Rebuild.h"
#include "platform/LongOperation.h"

namespace vrk {
namespace {

// A slot as Reserve Space writes it: status 0, every used field blank, no links.
std::string BlankSlot(const CatalogHeader& header) {
  const SlotLayout layout(header);
  std::string slot(layout.length, '\0');
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    slot.replace(layout.field[i], static_cast<std::size_t>(std::max<short>(header.FieldLength[i], 0)),
                 static_cast<std::size_t>(std::max<short>(header.FieldLength[i], 0)), ' ');
  }
  return slot;
}

}  // namespace

bool ConfirmEliminateDeleted(Ui& ui, bool undoCleared) {
  const std::string text = std::string("This operation will PERMANENTLY erase all\rrecords marked as deleted.") +
                           (undoCleared ? " The Undo history is cleared." : "") + " Proceed?";
  return ui.ShowMessage({text, kAppTitle, Buttons::YesNo, Icon::Question, true}) == Answer::Yes;
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
  const auto length = static_cast<std::size_t>(store.header.EntryLength);
  // The blank slots Reserve Space wrote beyond the last entry stay reserved after the new last one.
  const std::int64_t slots = store.files.Get(store.entryFile)->Size() / static_cast<std::int64_t>(length) - 1;
  const EntryNumber reserved = std::max<EntryNumber>(0, slots - count);
  bool ok = replacement.Begin();
  if (ok) {
    BufferedFile& file = *store.files.Get(replacement.entries());
    file.BeginBatch();
    ok = VisitSlots(store, store.entryFile, store.header, 1, count, false, [&](EntryNumber, char* slot) {
      (void)ui.StepGauge();
      if (GetSingle(slot) == kStatusDeleted) return true;
      ++written;
      return WriteBlock(store, replacement.entries(), static_cast<std::int64_t>(length) * written,
                        std::string_view(slot, length));
    });
    const std::string blank = BlankSlot(store.header);
    for (EntryNumber n = written + 1; ok && n <= written + reserved; ++n) {
      ok = WriteBlock(store, replacement.entries(), static_cast<std::int64_t>(length) * n, blank);
    }
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
