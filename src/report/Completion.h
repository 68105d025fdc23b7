// The completion message that ends every output run and the Totals command: the caller's text
// followed by the totals of the sum fields.
#pragma once

#include <string>

#include "catalog/CatalogStore.h"

namespace vrk {

std::string CompletionText(const CatalogStore& store, const std::string& text);
void ShowCompletionMessage(CatalogStore& store, const std::string& text);

// The texts the printed and ASCII runs report with: "Printed 12 entries." (with "PDF file: PATH" after
// it when the printer wrote into a file) and "Wrote 12 entries to ASCII file: PATH" (the paths as the
// user reads them).
std::string PrintedText(EntryNumber count, const std::string& pdfFile = {});
std::string AsciiWrittenText(EntryNumber count, const std::string& path, const std::string& kind = "ASCII");

}  // namespace vrk
