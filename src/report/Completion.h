// The completion message that ends every output run and the Totals command: the caller's text
// followed by the totals of the sum fields.
#pragma once

#include <string>

#include "catalog/CatalogStore.h"

namespace vrk {

std::string CompletionText(const CatalogStore& store, const std::string& text);
void ShowCompletionMessage(CatalogStore& store, const std::string& text);

}  // namespace vrk
