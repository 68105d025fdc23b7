#include "report/Totals.h"

#include "catalog/ComputedFields.h"
#include "platform/LongOperation.h"
#include "report/Completion.h"

namespace vrk {

void TotalsCommand(CatalogStore& store) {
  if (!HasSumField(store.fieldTable)) return;
  LongOperation busy(store.ui, {.busy = true});
  const WalkEnd end = TotalCatalog(store);
  busy.End();
  if (end == WalkEnd::kDone) ShowCompletionMessage(store, "");
}

}  // namespace vrk
