#include "csv/CsvImport.h"

#include <algorithm>
#include <array>
#include <utility>

#include "catalog/NewCatalog.h"
#include "csv/CsvFormat.h"
#include "index/Rebuild.h"
#include "platform/CodePage.h"
#include "platform/LongOperation.h"
#include "platform/Paths.h"

namespace vrk {
namespace {

constexpr auto kMostColumns = static_cast<std::size_t>(kMediaField);  // field 21 keeps picture and sound
constexpr auto kLongestValue = static_cast<std::size_t>(kLongestEditedField);

// The first column that is a field.
std::size_t FirstField(const CsvImportPlan& plan) { return plan.numbered ? 2 : 0; }

// Whether the entry and setup files give a code page 1252 character back as it was: they store code
// page 437, which lacks some (the file layer makes them "?" or a letter like them).
const std::array<bool, 256> kKept = [] {
  std::array<char, 256> stored{};
  for (std::size_t c = 0; c < stored.size(); ++c) stored[c] = static_cast<char>(c);
  CharToOemBuff(stored.data(), stored.size());
  OemToCharBuff(stored.data(), stored.size());
  std::array<bool, 256> kept{};
  for (std::size_t c = 0; c < kept.size(); ++c) kept[c] = stored[c] == static_cast<char>(c);
  return kept;
}();

// A cell as a catalog holds text: code page 1252, one line (a line break, CR LF included, and every
// other control character a blank), without trailing blanks. Counts what it changed, and the
// characters the catalog's files will not keep.
std::string CatalogText(std::string_view utf8, CsvChanges& changes) {
  const std::string ansi = AnsiFromUtf8(utf8);
  changes.unheld += std::count(ansi.begin(), ansi.end(), '?') - std::count(utf8.begin(), utf8.end(), '?');
  std::string text;
  text.reserve(ansi.size());
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    const auto c = static_cast<unsigned char>(ansi[i]);
    if (c >= 0x20 && c != 0x7F) {
      text += ansi[i];
      if (!kKept[c]) ++changes.unheld;
    } else if (c != '\r' || i + 1 == ansi.size() || ansi[i + 1] != '\n') {
      text += ' ';
      ++changes.controls;
    }
  }
  return RightTrim(text);
}

// Lays the fields out from the header row. False, with the message, when the catalog cannot hold them.
bool TakeHeader(const std::string& path, const CsvRow& header, CsvImportPlan& plan, std::string& failure) {
  plan.columns = header.cells.size();
  plan.numbered = plan.columns >= 2 && header.cells[0] == "Number" && header.cells[1] == "Status";
  const std::size_t fields = plan.columns - FirstField(plan);
  const std::string besides = plan.numbered ? " besides Number and Status" : "";
  if (fields == 0) {
    failure = CsvMessage(path, "has no columns" + besides + ".");
  } else if (fields > kMostColumns) {
    failure = CsvMessage(path, "has " + std::to_string(fields) + " columns" + besides + "; a catalog holds at most " +
                                   std::to_string(kMostColumns) + " fields.");
  }
  if (!failure.empty()) return false;
  for (std::size_t k = 0; k < fields; ++k) {
    std::string name = CatalogText(header.cells[FirstField(plan) + k], plan.changes);
    if (name.empty()) name = "Field " + std::to_string(k + 1);
    if (name.size() > kFieldNameLength) ++plan.changes.cutNames;
    plan.layout.fields[k].Name = PadFieldName(name);
    plan.layout.lengths[k] = 1;  // a header without rows keeps its fields
  }
  return true;
}

// Measures a row's values. False, with the message, for a row the header does not cover.
bool MeasureRow(const std::string& path, const CsvRow& row, CsvImportPlan& plan, std::string& failure) {
  if (row.cells.size() > plan.columns) {
    failure = CsvMessage(path, row.line,
                         std::to_string(row.cells.size()) + " cells, more than the " + std::to_string(plan.columns) +
                             " of the header row.");
    return false;
  }
  for (std::size_t k = FirstField(plan); k < row.cells.size(); ++k) {
    const std::size_t length = CatalogText(row.cells[k], plan.changes).size();
    if (length > kLongestValue) ++plan.changes.cutValues;
    short& field = plan.layout.lengths[k - FirstField(plan)];
    field = std::max(field, static_cast<short>(std::min(length, kLongestValue)));
  }
  ++plan.rows;
  return true;
}

// Writes the rows as the entries of the new catalog. False, after its message, when not every row the
// plan counted was written as the plan laid it out.
bool WriteRows(CatalogStore& store, const std::string& path, const CsvImportPlan& plan, NewCatalog& catalog) {
  const std::size_t fields = plan.columns - FirstField(plan);
  CsvChanges again;  // counted by the plan already
  EntryRecord entry;
  bool header = true;
  bool changed = false;  // the file is no longer the one the plan read
  // A half-made catalog is worth nothing, so the import runs to its end.
  LongOperation importing(store.ui, {.gauge = Gauge{static_cast<double>(plan.rows), "Importing from CSV....", false}});
  const std::string error = ReadCsvRows(path, plan.dialect, [&](const CsvRow& row) {
    if (std::exchange(header, false)) return true;
    (void)store.ui.StepGauge();
    if (catalog.written == plan.rows) {
      changed = !plan.tooMany;
      return false;
    }
    const bool deleted = plan.numbered && row.cells.size() > 1 && UpperAscii(row.cells[1]) == "DELETED";
    entry.Status = deleted ? kStatusDeleted : kStatusActive;
    for (std::size_t k = 0; k < fields; ++k) {
      const std::size_t column = FirstField(plan) + k;
      entry.Field[k] = column < row.cells.size() ? CatalogText(row.cells[column], again) : "";
      const auto length = static_cast<std::size_t>(plan.layout.lengths[k]);
      if (entry.Field[k].size() > length && length < kLongestValue) changed = true;
    }
    return !changed && AppendNewEntry(store, catalog, entry);
  });
  importing.End();
  if (!error.empty()) store.ui.Message(error, Icon::Exclamation);
  changed = changed || (error.empty() && !catalog.refused && catalog.written != plan.rows);
  if (changed) store.ui.Message(CsvMessage(path, "changed while it was imported; import it again."), Icon::Exclamation);
  return FinishNewCatalog(store, catalog) && error.empty() && !changed;
}

void ShowChanges(Ui& ui, const CsvChanges& changes) {
  const auto notice = [&](const std::string& what, long count) {
    if (count > 0) ui.Message(what + ": " + std::to_string(count));
  };
  notice("Values longer than 80 characters, cut to 80", changes.cutValues);
  notice("Characters a catalog cannot hold, now \"?\" or a letter like them", changes.unheld);
  notice("Line breaks and other control characters, now blanks", changes.controls);
  notice("Field names longer than 14 characters, cut to 14", changes.cutNames);
}

}  // namespace

std::optional<CsvImportPlan> PlanCsvImport(Ui& ui, const std::string& path, const CsvDialect& dialect) {
  CsvImportPlan plan;
  plan.dialect = dialect;
  if (dialect.delimiter == '\0') {
    plan.dialect.delimiter = DetectCsvDelimiter(path, dialect.encoding);
    // The comma is what a CSV file has; another delimiter found is said.
    if (plan.dialect.delimiter != ',')
      ui.Message(CsvMessage(path, "has its values separated by " + CsvDelimiterText(plan.dialect.delimiter) + "s."));
  }
  bool header = true;
  std::string failure;
  const std::string error = ReadCsvRows(path, plan.dialect, [&](const CsvRow& row) {
    if (std::exchange(header, false)) return TakeHeader(path, row, plan, failure);
    if (plan.rows == kMostEntries) {
      plan.tooMany = true;
      return false;
    }
    return MeasureRow(path, row, plan, failure);
  });
  if (error.empty() && failure.empty() && header) {
    failure = CsvMessage(path, "is empty; its first row must name the columns.");
  }
  if (error.empty() && failure.empty()) return plan;
  ui.Message(error.empty() ? failure : error, Icon::Exclamation);
  return std::nullopt;
}

bool ImportCsv(CatalogStore& store, const std::string& path, const CsvImportPlan& plan, const std::string& name,
               const std::string& directory) {
  const LongOperation busy(store.ui, {.busy = true});
  if (plan.tooMany) {
    store.ui.Message(CsvMessage(path, "holds more rows than a catalog can count; the first " +
                                          std::to_string(kMostEntries) + " are imported."),
                     Icon::Exclamation);
  }
  NewCatalog catalog = StartNewCatalog(store, directory, name, plan.layout);
  const bool written = catalog.file != 0 && WriteRows(store, path, plan, catalog);
  bool whole = PlaceNewCatalog(store, catalog, written);
  const bool keyed = std::any_of(plan.layout.fields.begin(), plan.layout.fields.end(), IsKeyField);
  if (whole && keyed) whole = ReIndexCatalog(store, directory, name);
  ShowChanges(store.ui, plan.changes);
  return whole && !plan.tooMany;
}

}  // namespace vrk
