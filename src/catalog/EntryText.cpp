#include "catalog/EntryText.h"

#include <algorithm>

#include "catalog/ComputedFields.h"
#include "platform/CodePage.h"

namespace vrk {

void AppendEntryLine(std::string& out, const CatalogStore& store, EntryNumber n, const EntryRecord& record) {
  std::string line = std::to_string(n) + (record.Status == kStatusDeleted ? "\tdeleted" : "\tactive");
  for (int i = 0; i < kFieldCount; ++i) {
    if (store.header.FieldLength[static_cast<std::size_t>(i)] >= 1) {
      std::string value = Utf8FromAnsi(RightTrim(FieldValueText(store.formulaTable, record, i)));
      std::replace_if(
          value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, ' ');
      line += "\t" + value;
    }
  }
  out += line;
  out += '\n';
}

}  // namespace vrk
