// View > Totals: the totals of the sum fields over the whole catalog.
#pragma once

#include "catalog/CatalogStore.h"

namespace vrk {

// Adds up the sum fields of every entry with the gauge and shows them; nothing without a sum field
// or when the user cancels.
void TotalsCommand(CatalogStore& store);

}  // namespace vrk
