// An entry as one line of text, the form vrkcli's dump and walk print: the entry number, "active" or
// "deleted", and the value of every used field (a computed field's computed value), separated by one
// TAB, each without its trailing blanks, in UTF-8. A control character that a foreign file holds
// becomes a blank, so that every line parses.
#pragma once

#include <string>
#include <string_view>

#include "catalog/CatalogStore.h"

namespace vrk {

// Appends the line of entry n, with its line feed, to `out`.
void AppendEntryLine(std::string& out, const CatalogStore& store, EntryNumber n, const EntryRecord& record);
// Appends one value of that line: field i of the record (its computed value when it is computed).
void AppendFieldValue(std::string& out, const CatalogStore& store, const EntryRecord& record, int i);
// Appends code page 1252 text (a field name) as that line shows text: without its trailing blanks, in
// UTF-8, a control character as a blank.
void AppendText(std::string& out, std::string_view ansi);

}  // namespace vrk
