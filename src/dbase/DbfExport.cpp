#include "dbase/DbfExport.h"

#include <cstring>

#include "catalog/ComputedFields.h"
#include "catalog/EntryFile.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"

namespace vrk {
namespace {

constexpr std::size_t kTableNameLength = 10;

// The engine's message for a refused step, the step's context directly after it.
bool Refused(CatalogStore& store, int code, const std::string& context) {
  if (code == kDbfOk) return false;
  store.ui.Message(DbfErrorText(code) + context, Icon::Exclamation);
  return true;
}

char TableNameCharacter(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  return '_';
}

}  // namespace

std::string DBFFieldName(std::string_view catalogName) {
  std::string name = RightTrim(catalogName).substr(0, kTableNameLength);
  for (char& c : name) c = TableNameCharacter(c);
  return name;
}

std::string GetDBFName(CatalogStore& store) {
  const std::optional<std::string> name =
      store.ui.AskName({.caption = "DBASE III Export",
                        .question = "Enter DBASEIII File Name, Extension will be .DBF",
                        .preset = store.catalogName,
                        .anyTextAllowed = false,
                        .maxLength = 8});
  if (!name) return {};
  const std::string path = store.programDirectory + "/" + *name + ".DBF";
  if (FileExists(path) &&
      store.ui.ShowMessage({.text = "DBASE III File: " + PathText(path) + " already exists, OVERWRITE?",
                            .buttons = Buttons::YesNo,
                            .icon = Icon::Question,
                            .defaultNo = true}) == Answer::No) {
    return {};
  }
  return *name;
}

bool CreateDBF(CatalogStore& store, DbfEngine& engine, const std::string& path, DbfOutput& output) {
  output = {};
  store.totals.fill(0);
  std::vector<DbfFieldDef> defs;
  for (int i = 0; i < kFieldCount; ++i) {
    const short length = store.header.FieldLength[static_cast<std::size_t>(i)];
    if (length < 1) continue;
    defs.push_back({.name = DBFFieldName(store.fieldTable[static_cast<std::size_t>(i)].Name),
                    .type = 'C',
                    .length = length,
                    .decimals = 0});
    output.fields.push_back(i);
  }
  if (!Refused(store, DbfCreate(engine, path, defs, output.handle), "When Creating DBaseIII File: " + PathText(path))) {
    return true;
  }
  // A refused create keeps its handle; nothing was written, so closing it says nothing new.
  static_cast<void>(DbfClose(engine, output.handle));
  output = {};
  return false;
}

bool AppendDBFRecord(CatalogStore& store, DbfEngine& engine, const EntryRecord& entry, DbfOutput& output) {
  std::vector<std::string> texts;
  texts.reserve(output.fields.size());
  for (const int field : output.fields) texts.push_back(FieldValueText(store.formulaTable, entry, field));
  std::int64_t recordNumber = 0;
  if (Refused(store, DbfAppend(engine, output.handle, texts, recordNumber), "When Writing DBaseIII File: ")) {
    return false;
  }
  // Only records in the table count towards the totals the completion message shows.
  for (std::size_t k = 0; k < texts.size(); ++k) {
    const int field = output.fields[k];
    if (IsSumField(store.fieldTable[static_cast<std::size_t>(field)])) AddToTotal(store.totals, field, texts[k]);
  }
  ++output.written;
  return true;
}

bool CloseDBF(CatalogStore& store, DbfEngine& engine, int handle) {
  return !Refused(store, DbfClose(engine, handle), "When Closing DBIII File");
}

bool WriteDBFCodePage(CatalogStore& store, const std::string& tablePath) {
  const std::string file = DbfCodePageFile(tablePath);
  if (file == tablePath) return true;  // a table named NAME.CPG has no room for one
  const int error = sys::WriteWholeFile(store.fileSystem, NativePath(file), "1252");
  if (error == 0) return true;
  store.ui.Message(
      "DBASE III File: " + PathText(file) + " could not be written (" + AnsiFromUtf8(std::strerror(error)) + ").",
      Icon::Exclamation);
  return false;
}

EntryNumber ExportEntries(CatalogStore& store, DbfEngine& engine, const std::string& path, EntryNumber first,
                          EntryNumber last) {
  DbfOutput output;
  if (!CreateDBF(store, engine, path, output)) return -1;
  EntryRecord entry;
  for (EntryNumber n = first; n <= last; ++n) {
    // An entry the disk would not give has had its message; the run goes on with the next one.
    if (ReadEntry(store, entry, store.header, n, store.entryFile)) AppendDBFRecord(store, engine, entry, output);
  }
  // A table whose header was not written does not hold its records.
  return CloseDBF(store, engine, output.handle) ? output.written : -1;
}

std::string ExportCompletionText(EntryNumber count, const std::string& pathText) {
  return "Wrote " + std::to_string(count) + " entries to DBASE III file: " + pathText;
}

}  // namespace vrk
