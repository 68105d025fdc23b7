#include "dbase/DbfImport.h"

#include <algorithm>

#include "catalog/Layout.h"
#include "catalog/NewCatalog.h"
#include "dbase/DbfExport.h"
#include "platform/FileSystem.h"
#include "platform/LongOperation.h"
#include "platform/Paths.h"

namespace vrk {
namespace {

constexpr std::size_t kImportedFields = 20;  // field 21 keeps the picture and sound paths
constexpr auto kLongestNumber = static_cast<std::size_t>(kLongestEditedField);

// What the import changes of the table's text, said when it is done.
struct DbfChanges {
  long unheld = 0;      // characters code page 1252 lacks, now '?'
  long cutNumbers = 0;  // numbers longer than kLongestNumber, cut to it
};

bool IsNumberField(const DbfFieldDef& field) { return field.type == 'N' || field.type == 'F'; }

// A field's catalog length: numbers as wide as the editor allows at most, every other field as it is.
short CatalogLength(const DbfFieldDef& field) {
  const auto length = static_cast<std::size_t>(field.length);
  return static_cast<short>(IsNumberField(field) ? std::min(length, kLongestNumber) : length);
}

// The code page of the table at `path`: what NAME.CPG beside it names, else its language-driver byte.
// A code page neither names, or one the program cannot convert, is said and read as code page 1252.
DbfCodePage TableCodePage(CatalogStore& store, const std::string& path, std::uint8_t languageDriver) {
  const std::string cpg = NativePath(DbfCodePageFile(NativePath(DbfTableFile(path))));
  std::string text;
  const bool hasCpg = FileExists(cpg) && sys::ReadFileStart(cpg, 64, text) == 0;
  const DbfCodePage codePage = hasCpg ? DbfCpgCodePage(text) : DbfLanguageDriverCodePage(languageDriver);
  if (codePage == DbfCodePage::kUnknown && (hasCpg || languageDriver != 0)) {
    store.ui.Message("DBASE III File: " + PathText(path) +
                         " is in a code page this program does not convert; its text is read as code page 1252.",
                     Icon::Exclamation);
  }
  return codePage;
}

// A value as the catalog keeps it: in code page 1252, a number no longer than kLongestNumber.
std::string CatalogValue(const std::string& stored, const DbfFieldDef& field, DbfCodePage codePage,
                         DbfChanges& changes) {
  std::string value = DbfTextToAnsi(stored, codePage);
  changes.unheld += std::count(value.begin(), value.end(), '?') - std::count(stored.begin(), stored.end(), '?');
  if (IsNumberField(field) && value.size() > kLongestNumber) {
    // Numbers stand right-justified: the blanks before them go first.
    value.erase(0, std::min(value.find_first_not_of(' '), value.size() - kLongestNumber));
    if (value.size() > kLongestNumber) {
      value.resize(kLongestNumber);
      ++changes.cutNumbers;
    }
  }
  return value;
}

void ShowChanges(Ui& ui, const DbfChanges& changes) {
  if (changes.unheld > 0) {
    ui.Message("Characters code page 1252 lacks, now \"?\": " + std::to_string(changes.unheld));
  }
  if (changes.cutNumbers > 0) {
    ui.Message("Numbers longer than 80 characters, cut to 80: " + std::to_string(changes.cutNumbers));
  }
}

void ShowRefusal(CatalogStore& store, int code, const std::string& context) {
  store.ui.Message(DbfErrorText(code) + context, Icon::Exclamation);
}

bool IsCalendarDate(int year, int month, int day) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

// A stored date "yyyymmdd" as "mm/dd/yy". Text with a blank at either end, a blank date among them,
// stays as stored. False for anything else that is no calendar date.
bool ConvertDate(std::string& text, char separator) {
  if (text.size() != 8 || text.front() == ' ' || text.back() == ' ') return true;
  if (text.find_first_not_of("0123456789") != std::string::npos) return false;
  if (!IsCalendarDate(std::stoi(text.substr(0, 4)), std::stoi(text.substr(4, 2)), std::stoi(text.substr(6, 2)))) {
    return false;
  }
  text = text.substr(4, 2) + separator + text.substr(6, 2) + separator + text.substr(2, 2);
  return true;
}

// Table fields 1 to 20 under their own names and lengths, the rest "LINE n" of length 0.
CatalogLayout ImportLayout(const DbfInput& input) {
  CatalogLayout layout;
  const std::size_t used = std::min(input.fields.size(), kImportedFields);
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const bool fromTable = i < used;
    layout.fields[i] = {PadFieldName(fromTable ? input.fields[i].name : "LINE " + std::to_string(i + 1)), kPlainField};
    layout.lengths[i] = fromTable ? CatalogLength(input.fields[i]) : short{0};
  }
  return layout;
}

// Writes the table's records as entries 1, 2, … of the new catalog, then the header that counts them.
// `whole` turns false when not every record reached the catalog. False when a record could not be
// read or written.
bool WriteEntries(CatalogStore& store, DbfEngine& engine, const DbfInput& input, const std::string& path,
                  NewCatalog& catalog, bool& whole, DbfChanges& changes) {
  if (input.recordCount > static_cast<std::uint32_t>(kMostEntries)) {
    store.ui.Message("DBASE III File: " + PathText(path) + " holds more records than a catalog can count; the first " +
                         std::to_string(kMostEntries) + " are imported.",
                     Icon::Exclamation);
    whole = false;
  }
  const auto wanted = std::min(static_cast<EntryNumber>(input.recordCount), kMostEntries);
  const std::size_t used = std::min(input.fields.size(), kImportedFields);
  EntryRecord entry;
  entry.Status = kStatusActive;  // records marked deleted in the table too
  std::vector<std::string> values;
  bool read = true;
  for (EntryNumber d = 1; read && d <= wanted; ++d) {
    const int code = ReadDBFRecord(engine, input, d, values);
    if (code != kDbfOk) ShowRefusal(store, code, " When Reading DBaseIII File: " + PathText(path));
    // A record that cannot be read ends the import: records missing from a cut-off table are not made up.
    read = code == kDbfOk || code == kDbfBadDate;
    for (std::size_t i = 0; read && i < used && i < values.size(); ++i) {
      entry.Field[i] = CatalogValue(values[i], input.fields[i], input.codePage, changes);
    }
    if (read && !AppendNewEntry(store, catalog, entry)) break;  // the File Error box has been shown
  }
  return FinishNewCatalog(store, catalog) && read;
}

}  // namespace

DbfInput OpenDBF(CatalogStore& store, DbfEngine& engine, const std::string& path) {
  DbfInput input;
  if (const int code = DbfOpen(engine, path, input.handle)) {
    // Nothing more can be read of a table that did not open: it has no fields and no records.
    ShowRefusal(store, code, "When Opening DBaseIII File: " + PathText(path));
    input.complete = false;
    return input;
  }
  DbfInfo info;
  if (const int code = DbfGetInfo(engine, input.handle, info)) {
    ShowRefusal(store, code, "When Reading Header ofDBaseIII File: " + PathText(path));
    input.complete = false;
    return input;
  }
  input.recordCount = info.recordCount;
  input.codePage = TableCodePage(store, path, info.languageDriver);
  input.fields.resize(static_cast<std::size_t>(info.fieldCount));
  for (int f = 1; f <= info.fieldCount; ++f) {
    if (const int code = DbfGetField(engine, input.handle, f, input.fields[static_cast<std::size_t>(f - 1)])) {
      ShowRefusal(store, code, "When Reading Header of DBaseIII File: " + PathText(path));
      input.fields[static_cast<std::size_t>(f - 1)] = {};
      input.complete = false;
    }
  }
  return input;
}

int ReadDBFRecord(DbfEngine& engine, const DbfInput& input, std::int64_t recordNumber,
                  std::vector<std::string>& values) {
  values.clear();
  DbfRecord record;
  if (const int code = DbfReadRecord(engine, input.handle, recordNumber, record)) return code;
  values = std::move(record.fields);
  // A date text has 8 characters: a separator of more than one character would push the year out.
  const std::string& separator = engine.dateFormat.separator;
  const char dateSeparator = separator.empty() ? '/' : separator.front();
  int code = kDbfOk;
  for (std::size_t i = 0; i < values.size() && i < input.fields.size(); ++i) {
    if (input.fields[i].type == 'D' && !ConvertDate(values[i], dateSeparator)) code = kDbfBadDate;
  }
  return code;
}

bool ImportDBF(CatalogStore& store, DbfEngine& engine, const std::string& path, const std::string& name,
               const std::string& directory) {
  const LongOperation busy(store.ui, {.busy = true});
  const DbfInput input = OpenDBF(store, engine, path);
  store.ui.Message("DBASE contains" + std::string(" ") + std::to_string(input.recordCount) + " Records");
  bool whole = input.complete;
  // A table that could not be read whole makes no catalog.
  NewCatalog catalog = input.complete ? StartNewCatalog(store, directory, name, ImportLayout(input)) : NewCatalog{};
  DbfChanges changes;
  const bool written = catalog.file != 0 && WriteEntries(store, engine, input, path, catalog, whole, changes);
  const bool closed = input.handle == 0 || CloseDBF(store, engine, input.handle);
  const bool placed = input.complete && PlaceNewCatalog(store, catalog, written && closed);
  if (placed) ShowChanges(store.ui, changes);
  return placed && whole;
}

}  // namespace vrk
