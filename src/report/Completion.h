// The completion message that ends every output run and the Totals command: the caller's text
// followed by the totals of the sum fields.
#pragma once

#include <string>

#include "catalog/CatalogStore.h"

namespace vrk {

std::string CompletionText(const CatalogStore& store, const std::string& text);
void ShowCompletionMessage(CatalogStore& store, const std::string& text);

// The texts the output runs report with: "Printed 12 entries.", "Wrote 12 entries to ASCII file: PATH"
// and "Wrote 12 entries to DBASE III file: PATH" (paths as the user reads them).
std::string PrintedText(EntryNumber count);
std::string AsciiWrittenText(EntryNumber count, const std::string& path);
std::string DbaseWrittenText(EntryNumber count, const std::string& path);

}  // namespace vrk
