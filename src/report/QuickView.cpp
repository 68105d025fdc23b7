#include "report/QuickView.h"

#include <algorithm>

#include "catalog/ComputedFields.h"
#include "catalog/EntryFile.h"
#include "index/KeyIndexChange.h"

namespace vrk {

QuickView LoadQuickView(CatalogStore& store, bool mayChange) {
  QuickView view;
  view.store = &store;
  view.mayChange = mayChange;
  const int widest = store.settings.QuickViewColumnWidth;
  for (int i = 0; i < kFieldCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const int length = store.header.FieldLength[at];
    if (length < 1) continue;
    const std::string& name = store.fieldTable[at].Name;
    const int width = std::max(std::min(length, widest), static_cast<int>(RightTrim(name).size()));
    view.columns.push_back({i, length, width, name, store.formulaTable[at].Valid || !mayChange});
  }
  return view;
}

bool AddQuickViewRow(QuickView& view, EntryNumber n, const EntryRecord& entry) {
  if (view.rows.size() >= static_cast<std::size_t>(kQuickViewRows)) return false;
  QuickViewRow& row = view.rows.emplace_back();
  row.entry = n;
  row.cells.reserve(view.columns.size());
  for (const QuickViewColumn& column : view.columns) {
    row.cells.push_back(RightTrim(FieldValueText(view.store->formulaTable, entry, column.field)));
  }
  return true;
}

bool CommitQuickViewEdit(QuickView& view, int row, int column, const std::string& text) {
  if (row < 1 || static_cast<std::size_t>(row) > view.rows.size() || column < 1 ||
      static_cast<std::size_t>(column) > view.columns.size()) {
    return false;
  }
  const QuickViewColumn& target = view.columns[static_cast<std::size_t>(column) - 1];
  if (target.readOnly) return false;
  CatalogStore& store = *view.store;
  QuickViewRow& shown = view.rows[static_cast<std::size_t>(row) - 1];
  EntryRecord entry;
  if (!ReadEntry(store, entry, store.header, shown.entry, store.entryFile)) return false;
  const EntryRecord before = entry;
  KeyIndexChange change(store);
  if (!change.Open()) return false;
  bool whole = DeleteEntryKeys(store, change.keys(), entry, shown.entry);
  std::string& field = entry.Field[static_cast<std::size_t>(target.field)];
  field = text.substr(0, static_cast<std::size_t>(target.length));
  field.resize(static_cast<std::size_t>(target.length), ' ');
  const bool written = WriteEntry(store, entry, store.header, shown.entry, store.entryFile);
  whole = written && AddEntryKeys(store, change.keys(), entry, shown.entry) && whole;
  // The keys agree with the entry file only when every step succeeded. The edit's result is whether
  // the entry was written: indexes left in doubt have said so, and are rebuilt before their next use.
  static_cast<void>(change.Finish(whole));
  if (!written) return false;
  shown.cells[static_cast<std::size_t>(column) - 1] = text;
  if (view.edited) view.edited(shown.entry, before, entry);
  return true;
}

const char* QuickViewCaption(std::size_t rows) { return rows == 1 ? "Entry" : "Entries"; }

}  // namespace vrk
