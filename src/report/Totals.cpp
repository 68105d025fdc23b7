#include "report/Totals.h"

#include "catalog/ComputedFields.h"
#include "platform/Ui.h"
#include "report/Completion.h"

namespace vrk {

void TotalsCommand(CatalogStore& store) {
  if (!HasSumField(store.fieldTable)) return;
  store.ui.ShowBusy();
  const bool complete = TotalCatalog(store);
  store.ui.ClearBusy();
  if (complete) ShowCompletionMessage(store, "");
}

}  // namespace vrk
