#include "catalog/EntryText.h"

#include <charconv>

#include "catalog/ComputedFields.h"
#include "platform/CodePage.h"

namespace vrk {
namespace {

// Appends code page 1252 text as UTF-8, a control character as a blank. Plain ASCII, nearly all of
// a catalog's text, is copied as it is.
void AppendValue(std::string& out, std::string_view ansi) {
  std::size_t plain = 0;
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    const auto c = static_cast<unsigned char>(ansi[i]);
    if (c >= 0x20 && c < 0x7F) continue;
    out.append(ansi.data() + plain, i - plain);
    if (c < 0x20 || c == 0x7F) {
      out += ' ';
    } else {
      out += Utf8FromAnsi(ansi.substr(i, 1));
    }
    plain = i + 1;
  }
  out.append(ansi.data() + plain, ansi.size() - plain);
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

}  // namespace

void AppendEntryLine(std::string& out, const CatalogStore& store, EntryNumber n, const EntryRecord& record) {
  char number[24];
  out.append(number, static_cast<std::size_t>(std::to_chars(number, number + sizeof number, n).ptr - number));
  out += record.Status == kStatusDeleted ? "\tdeleted" : "\tactive";
  for (int i = 0; i < kFieldCount; ++i) {
    if (store.header.FieldLength[static_cast<std::size_t>(i)] < 1) continue;
    out += '\t';
    AppendFieldValue(out, store, record, i);
  }
  out += '\n';
}

void AppendFieldValue(std::string& out, const CatalogStore& store, const EntryRecord& record, int i) {
  const auto at = static_cast<std::size_t>(i);
  if (store.formulaTable[at].Valid) {
    AppendText(out, ComputeField(store.formulaTable, record, i));
  } else {
    AppendText(out, record.Field[at]);
  }
}

void AppendText(std::string& out, std::string_view ansi) { AppendValue(out, WithoutTrailingBlanks(ansi)); }

}  // namespace vrk
