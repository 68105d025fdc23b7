#include "shell/CatalogTable.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "catalog/ComputedFields.h"
#include "catalog/EntryText.h"
#include "catalog/FileIo.h"
#include "platform/CodePage.h"
#include "platform/Profile.h"
#include "platform/Ui.h"
#include "report/Output.h"
#include "search/Matching.h"
#include "shell/Browsing.h"
#include "shell/Editing.h"
#include "shell/Settings.h"
#include "shell/UndoHistory.h"

namespace vrk {
namespace {

constexpr std::size_t kBlockSlots = 1024;     // slots a query reads at a time
constexpr std::size_t kCacheSlots = 64;       // slots the row cache reads at a time
constexpr std::size_t kMostCachedRows = 512;  // the cache starts afresh beyond this
constexpr const char* kSection = "Catalog Table";

bool Used(const CatalogHeader& header, int i) { return header.FieldLength[static_cast<std::size_t>(i)] > 0; }

std::string FoldedName(const std::string& name) { return UpperAnsi(RightTrim(name)); }

// The entry a stored link names; 0 for none or for anything that is not an entry of the catalog.
EntryNumber LinkedEntry(float link, EntryNumber count) {
  if (!(link >= 1 && link <= static_cast<float>(count)) || static_cast<float>(static_cast<EntryNumber>(link)) != link)
    return 0;
  return static_cast<EntryNumber>(link);
}

// Follows the sorted chain from FirstSorted, taking the members on it, then adds the members the chain
// does not reach (entries made after the sort) in entry order. A chain that comes round ends there.
std::vector<EntryNumber> ChainOrder(const TableCatalog& catalog, const std::vector<EntryNumber>& members,
                                    TableSlots& slots, const std::stop_token& stop) {
  const EntryNumber count = catalog.header.Count();
  std::vector<bool> member(static_cast<std::size_t>(count) + 1), taken(member.size());
  for (const EntryNumber n : members) member[static_cast<std::size_t>(n)] = true;
  std::vector<EntryNumber> ordered;
  ordered.reserve(members.size());
  const EntryNumber last = LinkedEntry(catalog.settings.LastSorted, count);
  for (EntryNumber n = LinkedEntry(catalog.settings.FirstSorted, count);
       n != 0 && !taken[static_cast<std::size_t>(n)];) {
    if ((ordered.size() & 4095) == 0 && stop.stop_requested()) return {};
    taken[static_cast<std::size_t>(n)] = true;
    if (member[static_cast<std::size_t>(n)]) ordered.push_back(n);
    std::size_t got = 0;
    const char* slot = slots.Read(n, 1, got);
    if (n == last || slot == nullptr || got == 0) break;
    n = LinkedEntry(GetSingle(slot + slots.layout().links), count);
  }
  for (const EntryNumber n : members) {
    if (!taken[static_cast<std::size_t>(n)]) ordered.push_back(n);
  }
  return ordered;
}

// The sort keys of one field: numbers for sum and computed fields, else the text as the index folds it.
struct FieldKeys {
  FieldKeys(const TableCatalog& catalog, int field)
      : catalog(catalog),
        field(field),
        numeric(IsSumField(catalog.fieldTable[static_cast<std::size_t>(field)]) ||
                catalog.formulaTable[static_cast<std::size_t>(field)].Valid),
        width(static_cast<std::size_t>(catalog.header.FieldLength[static_cast<std::size_t>(field)])),
        fields(catalog.formulaTable[static_cast<std::size_t>(field)].Valid ? kAllFields : FieldMask{1} << field) {}

  void Add(const char* slot) {
    DecodeSlot(record, catalog.header, slot, fields);
    std::string value = FieldValueText(catalog.formulaTable, record, field);
    if (numeric) {
      numbers.push_back(FieldNumber(value));
      return;
    }
    value.resize(width, ' ');
    texts += catalog.caseSensitive ? value : UpperAnsi(value);
  }
  bool Less(std::size_t a, std::size_t b) const {
    if (numeric) return numbers[a] < numbers[b];
    return std::memcmp(texts.data() + a * width, texts.data() + b * width, width) < 0;
  }

  const TableCatalog& catalog;
  int field;
  bool numeric;
  std::size_t width;
  FieldMask fields;
  EntryRecord record;
  std::vector<double> numbers;
  std::string texts;  // `width` bytes a member
};

std::vector<EntryNumber> FieldOrder(const std::vector<EntryNumber>& members, const FieldKeys& keys, bool descending) {
  std::vector<std::uint32_t> at(members.size());
  std::iota(at.begin(), at.end(), 0u);
  // Stable: members with equal keys stay in entry order, either way round.
  std::stable_sort(at.begin(), at.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return descending ? keys.Less(b, a) : keys.Less(a, b); });
  std::vector<EntryNumber> ordered(members.size());
  for (std::size_t i = 0; i < at.size(); ++i) ordered[i] = members[at[i]];
  return ordered;
}

std::string SettingKey(const std::string& basePath, const char* what) {
  std::string key = basePath;
  std::replace(key.begin(), key.end(), '=', '_');  // the one character a profile key cannot hold
  return key + " " + what;
}

}  // namespace

int FindTableField(const std::string& name, const FieldTable& fields, const CatalogHeader& header) {
  const std::string wanted = UpperAnsi(name);
  if (wanted.empty()) return -1;
  for (int i = 0; i < kFieldCount; ++i) {
    if (Used(header, i) && FoldedName(fields[static_cast<std::size_t>(i)].Name) == wanted) return i;
  }
  for (int i = 0; i < kFieldCount; ++i) {
    if (Used(header, i) && FoldedName(fields[static_cast<std::size_t>(i)].Name).starts_with(wanted)) return i;
  }
  return -1;
}

std::vector<FilterTerm> ParseTableFilter(const std::string& filter, const FieldTable& fields,
                                         const CatalogHeader& header) {
  std::vector<FilterTerm> terms(1);
  std::size_t at = 0;
  while (at < filter.size()) {
    const std::size_t start = filter.find_first_not_of(" \t", at);
    if (start == std::string::npos) break;
    at = std::min(filter.find_first_of(" \t", start), filter.size());
    const std::string word = filter.substr(start, at - start);
    const std::size_t colon = word.find(':');
    const int field = colon == std::string::npos || colon + 1 == word.size()
                          ? -1
                          : FindTableField(word.substr(0, colon), fields, header);
    if (field >= 0) {
      terms.push_back({.field = field, .text = word.substr(colon + 1)});
    } else {
      terms[0].text += (terms[0].text.empty() ? "" : " ") + word;
    }
  }
  if (terms[0].text.empty()) terms.erase(terms.begin());
  return terms;
}

std::optional<TableOrder> ParseTableOrder(const std::string& text, const FieldTable& fields,
                                          const CatalogHeader& header) {
  TableOrder order;
  std::string name = text;
  if (const auto colon = name.rfind(':'); colon != std::string::npos && UpperAnsi(name.substr(colon)) == ":DESC") {
    order.descending = true;
    name.erase(colon);
  }
  const std::string folded = UpperAnsi(name);
  if (folded.empty() || folded == "NUMBER") return order;
  if (folded == "SORTED") {
    order.field = kSortedOrder;
    return order;
  }
  order.field = FindTableField(name, fields, header);
  if (order.field < 0) return std::nullopt;
  return order;
}

std::string TableOrderText(const TableOrder& order, const FieldTable& fields) {
  const std::string name = order.field == kEntryOrder ? "number"
                           : order.field == kSortedOrder
                               ? "sorted"
                               : RightTrim(fields[static_cast<std::size_t>(order.field)].Name);
  return order.descending ? name + ":desc" : name;
}

TableCatalog TableCatalogOf(const CatalogStore& store) {
  const BufferedFile* file = store.files.Get(store.entryFile);
  return {.fileSystem = &store.fileSystem,
          .entryPath = file != nullptr ? file->path() : std::string(),
          .header = store.header,
          .fieldTable = store.fieldTable,
          .formulaTable = store.formulaTable,
          .settings = store.settings,
          .caseSensitive = store.caseSensitive,
          .blocksWritten = store.blocksWritten};
}

TableSlots::TableSlots(const TableCatalog& catalog) : layout_(catalog.header) {
  error_ = sys::OpenFile(*catalog.fileSystem, catalog.entryPath, sys::Access::kRead, sys::Creation::kExisting, file_);
}

const char* TableSlots::Read(EntryNumber first, std::size_t count, std::size_t& got) {
  got = 0;
  if (error_ != 0) return nullptr;
  block_.resize(count * layout_.length);
  std::size_t bytes = 0;
  error_ = sys::ReadAt(file_, static_cast<std::uint64_t>(first) * layout_.length, block_.data(), block_.size(), bytes);
  got = bytes / layout_.length;
  return error_ == 0 ? block_.data() : nullptr;
}

std::optional<TableRows> QueryTable(const TableCatalog& catalog, const TableQuery& query, std::stop_token stop) {
  const EntryNumber count = catalog.header.Count();
  TableRows rows;
  rows.count = count;
  const std::vector<FilterTerm> terms = ParseTableFilter(query.filter, catalog.fieldTable, catalog.header);
  if (terms.empty() && !query.hideDeleted && query.order == TableOrder{}) return rows;
  rows.everyEntry = false;
  std::vector<GlobalMatch> tests;
  for (const FilterTerm& term : terms) tests.emplace_back(term.text, catalog.caseSensitive, catalog.header, term.field);
  std::optional<FieldKeys> keys;
  if (query.order.field >= 0) keys.emplace(catalog, query.order.field);
  TableSlots slots(catalog);
  const std::size_t length = slots.layout().length;
  for (EntryNumber n = 1; n <= count;) {
    if (stop.stop_requested()) return std::nullopt;
    std::size_t got = 0;
    const char* block = slots.Read(n, std::min<std::size_t>(kBlockSlots, static_cast<std::size_t>(count - n + 1)), got);
    if (block == nullptr || got == 0) break;
    for (std::size_t k = 0; k < got; ++k) {
      const char* slot = block + k * length;
      if (query.hideDeleted && GetSingle(slot) == kStatusDeleted) continue;
      if (!std::all_of(tests.begin(), tests.end(), [slot](const GlobalMatch& test) { return test(slot); })) continue;
      rows.entries.push_back(n + static_cast<EntryNumber>(k));
      if (keys) keys->Add(slot);
    }
    n += static_cast<EntryNumber>(got);
  }
  rows.error = slots.error();
  if (keys) {
    rows.entries = FieldOrder(rows.entries, *keys, query.order.descending);
    return stop.stop_requested() ? std::nullopt : std::optional(std::move(rows));
  }
  if (query.order.field == kSortedOrder) rows.entries = ChainOrder(catalog, rows.entries, slots, stop);
  if (query.order.descending) std::reverse(rows.entries.begin(), rows.entries.end());
  return stop.stop_requested() ? std::nullopt : std::optional(std::move(rows));
}

EntryNumber TableRows::RowOf(EntryNumber n) const {
  if (everyEntry) return n >= 1 && n <= count ? n - 1 : -1;
  const auto at = std::find(entries.begin(), entries.end(), n);
  return at == entries.end() ? -1 : static_cast<EntryNumber>(at - entries.begin());
}

void TableWorker::Start(TableCatalog catalog, TableQuery query, std::function<void(TableRows)> done) {
  // Assigning stops the query before and waits for it to end.
  thread_ = std::jthread(
      [catalog = std::move(catalog), query = std::move(query), done = std::move(done)](std::stop_token stop) {
        std::optional<TableRows> rows = QueryTable(catalog, query, stop);
        if (rows && !stop.stop_requested()) done(std::move(*rows));
      });
}

const EntryRecord* TableRowCache::Entry(EntryNumber n) {
  if (const auto it = entries_.find(n); it != entries_.end()) return &it->second;
  if (entries_.size() >= kMostCachedRows) entries_.clear();
  const EntryNumber count = catalog_.header.Count();
  if (n < 1 || n > count) return nullptr;
  std::size_t got = 0;
  const char* block = slots_.Read(n, std::min<std::size_t>(kCacheSlots, static_cast<std::size_t>(count - n + 1)), got);
  if (block == nullptr || got == 0) return nullptr;
  for (std::size_t k = 0; k < got; ++k) {
    EntryRecord& record = entries_[n + static_cast<EntryNumber>(k)];
    DecodeSlot(record, catalog_.header, block + k * slots_.layout().length);
  }
  return &entries_[n];
}

std::string TableRowCache::Cell(const EntryRecord& record, int i) const {
  std::string out;
  AppendText(out, FieldValueText(catalog_.formulaTable, record, i));
  return out;
}

std::vector<int> TableFields(const CatalogHeader& header) {
  std::vector<int> fields;
  for (int i = 0; i < kFieldCount; ++i) {
    if (Used(header, i)) fields.push_back(i);
  }
  return fields;
}

TableQuery ReadTableQuery(const Program& program) {
  const std::string base = program.BasePath();
  const std::string order = GetPrivateProfileString(kSection, SettingKey(base, "Order"), "", program.iniPath);
  return {.filter = GetPrivateProfileString(kSection, SettingKey(base, "Filter"), "", program.iniPath),
          .hideDeleted = GetPrivateProfileInt(kSection, SettingKey(base, "HideDeleted"), 0, program.iniPath) != 0,
          .order = ParseTableOrder(order, program.fieldTable, program.header).value_or(TableOrder{})};
}

bool WriteTableQuery(Program& program, const std::string& basePath, const FieldTable& fields, const TableQuery& query) {
  return WriteSetting(program, kSection, SettingKey(basePath, "Filter"), query.filter) &&
         WriteSetting(program, kSection, SettingKey(basePath, "HideDeleted"), query.hideDeleted ? "1" : "0") &&
         WriteSetting(program, kSection, SettingKey(basePath, "Order"), TableOrderText(query.order, fields));
}

void CatalogTableCommand(Program& program) {
  if (!program.CatalogOpen()) return;
  CatalogTableWindow window{.program = program, .basePath = program.BasePath(), .query = ReadTableQuery(program)};
  (void)program.ui.dialogs.Show(window);
}

bool DeleteTableRows(Program& program, const std::vector<EntryNumber>& entries, bool undelete) {
  if (entries.empty() || !MayChangeEntries(program)) return false;
  const std::string what =
      entries.size() == 1 ? "the selected entry" : "the " + std::to_string(entries.size()) + " selected entries";
  const Answer answer = program.ui.ShowMessage({.text = (undelete ? "Undelete " : "Delete ") + what + "?",
                                                .buttons = Buttons::YesNo,
                                                .icon = Icon::Question,
                                                .defaultNo = !undelete});
  if (answer != Answer::Yes) return false;
  // All the rows changed are one undo step, also when a row fails: the rows before it are changed.
  EntryChanges changes;
  bool done = true;
  for (const EntryNumber n : entries) {
    GoToEntry(program, n);
    if (program.currentEntryNumber != n) {
      done = false;
      break;
    }
    // Delete on a deleted entry would make it active again: each row gets the state asked for.
    if ((program.currentEntry.Status == kStatusDeleted) == !undelete) continue;
    if (!(undelete ? UndeleteEntryInStep(program, changes) : DeleteEntryInStep(program, changes))) {
      done = false;
      break;
    }
  }
  const std::size_t count = changes.size();
  RecordStep(program, StepName(undelete ? "Undelete" : "Delete", count), std::move(changes));
  return done;
}

bool PrintTableRows(Program& program, const std::vector<EntryNumber>& entries) {
  const std::unique_ptr<EntryOutput> output = MakeReportOutput(program.Report(), ReportDestination::kPrinter);
  if (output == nullptr || !output->Start()) return false;
  EntryRecord record;
  EntryNumber sent = 0;
  for (const EntryNumber n : entries) {
    if (!ReadEntry(program, record, program.header, n, program.entryFile)) return false;
    if (output->Send(n, record) == EntryOutput::Sent::kFailed) return false;
    ++sent;
  }
  return output->Finish(sent);
}

}  // namespace vrk
