#include "report/Totals.h"

#include "catalog/ComputedFields.h"
#include "platform/Ui.h"
#include "report/Completion.h"

namespace vrk {

void TotalsCommand(CatalogStore& store) {
  if (!HasSumField(store.fieldTable)) return;
  store.ui.ShowBusy();
  const WalkEnd end = TotalCatalog(store);
  store.ui.ClearBusy();
  if (end == WalkEnd::kDone) ShowCompletionMessage(store, "");
}

}  // namespace vrk
