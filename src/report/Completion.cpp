#include "report/Completion.h"

#include "catalog/ComputedFields.h"
#include "platform/Paths.h"
#include "platform/Ui.h"

namespace vrk {

// Lines end with a single carriage return, as the message box shows them.
std::string CompletionText(const CatalogStore& store, const std::string& text) {
  std::string result = text;
  bool first = true;
  for (int i = 0; i < kFieldCount; ++i) {
    const FieldDef& field = store.fieldTable[static_cast<std::size_t>(i)];
    if (!IsSumField(field)) continue;
    if (first) result += "\r\rTOTALS:\r\r";
    first = false;
    result += PadFieldName(field.Name) + "\t\t:\t" + FormatStandard(store.totals[static_cast<std::size_t>(i)]) + "\r";
  }
  return result;
}

void ShowCompletionMessage(CatalogStore& store, const std::string& text) {
  store.ui.ShowMessage({CompletionText(store, text), kAppTitle, Buttons::Ok, Icon::None});
}

// Counts are written with a leading blank where a sign would go.
std::string PrintedText(EntryNumber count, const std::string& pdfFile) {
  const std::string printed = "Printed " + std::to_string(count) + " entries.";
  return pdfFile.empty() ? printed : printed + "\rPDF file: " + PathText(pdfFile);
}

std::string AsciiWrittenText(EntryNumber count, const std::string& path, const std::string& kind) {
  return "Wrote " + std::to_string(count) + " entries to " + kind + " file: " + PathText(path);
}

}  // namespace vrk
