// The catalog table: every entry of the current catalog as a row, narrowed by a filter and put in an
// order. A query runs over a copy of what it needs of the catalog and reads the entry file through a
// handle of its own, so that it can run on a worker thread while the window reads rows on demand; a
// query that a newer one supersedes is stopped through its stop token.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "catalog/EntryFile.h"
#include "platform/FileSystem.h"
#include "shell/Program.h"

namespace vrk {

// The order of the rows: by entry number, along the sorted chain, or by the text of a field.
inline constexpr int kEntryOrder = -1;
inline constexpr int kSortedOrder = -2;
struct TableOrder {
  int field = kEntryOrder;  // a field index, or one of the two above
  bool descending = false;
  friend bool operator==(const TableOrder&, const TableOrder&) = default;
};

struct TableQuery {
  std::string filter = {};  // as typed
  bool hideDeleted = false;
  TableOrder order = {};
};

// One term of a filter: a text that field `field` (a field index), or any field for -1, contains.
struct FilterTerm {
  int field = -1;
  std::string text = {};
  friend bool operator==(const FilterTerm&, const FilterTerm&) = default;
};
// `artist:lee year:197 blue moon`: a word NAME:TEXT whose NAME is a used field's name or its first
// letters (letter case ignored) is a term of that field; the other words, joined by one blank, are one
// term that any field may contain, as the global search tests it.
std::vector<FilterTerm> ParseTableFilter(const std::string& filter, const FieldTable& fields,
                                         const CatalogHeader& header);
// The used field a name or its first letters names (an exact name first); -1 when none.
int FindTableField(const std::string& name, const FieldTable& fields, const CatalogHeader& header);
// `number`, `sorted` or a field as FindTableField finds it, then `:desc` for the reverse order.
std::optional<TableOrder> ParseTableOrder(const std::string& text, const FieldTable& fields,
                                          const CatalogHeader& header);
// The text ParseTableOrder reads back.
std::string TableOrderText(const TableOrder& order, const FieldTable& fields);

// What a query needs of the catalog, copied from the store.
struct TableCatalog {
  sys::FileSystem* fileSystem = &sys::SystemFiles();
  std::string entryPath = {};
  CatalogHeader header = {};
  FieldTable fieldTable = DefaultFieldTable();
  FormulaTable formulaTable = {};
  CatalogSettings settings = {};
  bool caseSensitive = false;
  std::uint64_t blocksWritten = 0;  // the store's count when the copy was made

  // Equal copies show the same rows: same files, same layout, nothing written in between.
  friend bool operator==(const TableCatalog&, const TableCatalog&) = default;
};
TableCatalog TableCatalogOf(const CatalogStore& store);

// Reads slots of the entry file through a handle of its own. This is the one place the table reads
// entries, so that a faster reader can take its place.
class TableSlots {
 public:
  explicit TableSlots(const TableCatalog& catalog);
  // The slots of entries first to first + count - 1 that the file holds (`got` of them); nullptr when
  // the file cannot be read (error() tells why).
  const char* Read(EntryNumber first, std::size_t count, std::size_t& got);
  int error() const { return error_; }
  const SlotLayout& layout() const { return layout_; }

 private:
  sys::FileHandle file_;
  SlotLayout layout_;
  std::vector<char> block_;
  int error_ = 0;
};

// The rows of a query: entry numbers in the order shown.
struct TableRows {
  bool everyEntry = true;  // rows 1 to `count` are entries 1 to `count`; `entries` is empty
  EntryNumber count = 0;
  std::vector<EntryNumber> entries = {};
  int error = 0;  // a read the disk refused; the rows found before it are kept

  EntryNumber Size() const { return everyEntry ? count : static_cast<EntryNumber>(entries.size()); }
  EntryNumber Entry(EntryNumber row) const { return everyEntry ? row + 1 : entries[static_cast<std::size_t>(row)]; }
  // The row that shows entry n; -1 when none does.
  EntryNumber RowOf(EntryNumber n) const;
};
// Runs a query over every entry; nothing when `stop` was requested before it ended. Without a filter,
// in entry order with deleted entries shown, nothing is read.
std::optional<TableRows> QueryTable(const TableCatalog& catalog, const TableQuery& query, std::stop_token stop);

// Runs queries on a worker thread, one at a time: a new one stops the one before and waits for it.
// `done` is called on the worker thread with the rows of a query that ran to its end.
class TableWorker {
 public:
  void Start(TableCatalog catalog, TableQuery query, std::function<void(TableRows)> done);

 private:
  std::jthread thread_;
};

// Rows as they are shown: decoded entries kept for the rows on the screen and a few around them.
class TableRowCache {
 public:
  explicit TableRowCache(const TableCatalog& catalog) : catalog_(catalog), slots_(catalog) {}
  // Entry n; nullptr when it cannot be read.
  const EntryRecord* Entry(EntryNumber n);
  // The text of field i of an entry as a cell shows it (UTF-8, a computed field's value).
  std::string Cell(const EntryRecord& record, int i) const;
  int error() const { return slots_.error(); }
  std::size_t Size() const { return entries_.size(); }

 private:
  const TableCatalog& catalog_;
  TableSlots slots_;
  std::unordered_map<EntryNumber, EntryRecord> entries_;
};

// The columns: the used fields' indexes, in field order (after the entry number and status).
std::vector<int> TableFields(const CatalogHeader& header);

// VRK.INI [Catalog Table]: the filter, "Hide deleted" and the order of the current catalog, or of the
// catalog at `basePath` (BasePath()) whose fields are `fields`.
TableQuery ReadTableQuery(const Program& program);
bool WriteTableQuery(Program& program, const std::string& basePath, const FieldTable& fields, const TableQuery& query);

// The table window's record: the catalog it shows and the query it shows it with. The window stays open
// beside the main window and follows the current catalog: after every command it compares what it shows
// with TableCatalogOf(program) and reads the rows again when they differ; a new catalog brings its own
// query, the one before is kept for its catalog.
struct CatalogTableWindow {
  Program& program;
  std::string basePath = {};
  TableQuery query = {};
};
// View > Catalog Table: opens the table, or brings the open one forward.
void CatalogTableCommand(Program& program);

// Delete or Undelete on the rows' entries, after the question, each as the entry screen changes it.
// False when the user said no or a change failed (which was said).
bool DeleteTableRows(Program& program, const std::vector<EntryNumber>& entries, bool undelete);
// "Export these rows" to the printer: the entries through the current report format.
bool PrintTableRows(Program& program, const std::vector<EntryNumber>& entries);

}  // namespace vrk
