#include "xlsx/XlsxExport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <functional>

#include "catalog/ComputedFields.h"
#include "catalog/EntryFile.h"
#include "catalog/EntryText.h"
#include "catalog/ListedEntries.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "xlsx/XlsxLibrary.h"

namespace vrk {
namespace {

constexpr const char* kGaugeText = "Exporting to Spreadsheet....";
constexpr int kMostSignificantDigits = 15;  // what a spreadsheet's number keeps exactly
constexpr double kMostColumnWidth = 255;

// What a column of a used field holds.
struct Column {
  int field = 0;
  bool numeric = true;  // every value so far reads as a number
  bool always = false;  // a sum or computed field: numbers whatever its values
  int decimals = -1;    // the decimals every value has, -1 before the first, -2 when they differ
};

// The text without the blanks before and after it.
std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A number as it stands in a field: a minus sign, digits without a leading zero, a period and
// decimals, no more digits than a spreadsheet keeps. A code such as 01234 is text.
bool ReadsAsNumber(std::string_view text, int& decimals) {
  if (text.starts_with('-')) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  const auto digits = [](std::string_view part) {
    return part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  decimals = static_cast<int>(fraction.size());
  return !whole.empty() && digits(whole) && digits(fraction) && (whole.size() == 1 || whole.front() != '0') &&
         (point == std::string_view::npos || !fraction.empty()) &&
         static_cast<int>(whole.size() + fraction.size()) <= kMostSignificantDigits;
}

// Any number a sum or computed field adds up, leading zeros and exponents included.
bool IsNumber(std::string_view text) {
  if (text.starts_with('+')) text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::vector<Column> UsedColumns(const CatalogStore& store) {
  std::vector<Column> columns;
  for (int i = 0; i < kFieldCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (store.header.FieldLength[at] < 1) continue;
    columns.push_back({.field = i, .always = IsSumField(store.fieldTable[at]) || store.formulaTable[at].Valid});
  }
  return columns;
}

void Measure(Column& column, std::string_view value) {
  const std::string_view text = Trimmed(value);
  int decimals = 0;
  if (text.empty()) return;
  if (!ReadsAsNumber(text, decimals)) {
    column.numeric = false;
    decimals = -2;
  }
  column.decimals = column.decimals == -1 || column.decimals == decimals ? decimals : -2;
}

// The workbook being written, and the first failure of its library.
struct Workbook {
  const XlsxLibrary& lib;
  lxw_workbook* book = nullptr;
  lxw_worksheet* sheet = nullptr;
  lxw_format* bold = nullptr;
  std::vector<lxw_format*> formats = {};  // a column's number format, null for none
  lxw_error error = LXW_NO_ERROR;

  void Keep(lxw_error result) {
    if (error == LXW_NO_ERROR) error = result;
  }
  void Text(lxw_row_t row, lxw_col_t column, const std::string& utf8, lxw_format* format = nullptr) {
    if (!utf8.empty()) Keep(lib.worksheet_write_string(sheet, row, column, utf8.c_str(), format));
  }
  void Number(lxw_row_t row, lxw_col_t column, double value, lxw_format* format = nullptr) {
    Keep(lib.worksheet_write_number(sheet, row, column, value, format));
  }
};

// The header row, the column widths and the frozen pane.
void StartSheet(Workbook& workbook, const CatalogStore& store, const std::vector<Column>& columns) {
  workbook.bold = workbook.lib.workbook_add_format(workbook.book);
  workbook.lib.format_set_bold(workbook.bold);
  workbook.Text(0, 0, "Number", workbook.bold);
  workbook.Text(0, 1, "Status", workbook.bold);
  workbook.Keep(workbook.lib.worksheet_set_column(workbook.sheet, 0, 1, 8, nullptr));
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const auto at = static_cast<std::size_t>(columns[k].field);
    std::string name;
    AppendText(name, store.fieldTable[at].Name);
    const auto column = static_cast<lxw_col_t>(k + 2);
    workbook.Text(0, column, name, workbook.bold);
    const double width =
        std::min<double>(std::max<std::size_t>(store.header.FieldLength[at], name.size()) + 1, kMostColumnWidth);
    workbook.Keep(workbook.lib.worksheet_set_column(workbook.sheet, column, column, width, nullptr));
    lxw_format* format = nullptr;
    if ((columns[k].numeric || columns[k].always) && columns[k].decimals > 0) {
      format = workbook.lib.workbook_add_format(workbook.book);
      workbook.lib.format_set_num_format(
          format, ("0." + std::string(static_cast<std::size_t>(columns[k].decimals), '0')).c_str());
    }
    workbook.formats.push_back(format);
  }
  workbook.lib.worksheet_freeze_panes(workbook.sheet, 1, 0);
}

void WriteRow(Workbook& workbook, const CatalogStore& store, const std::vector<Column>& columns, lxw_row_t row,
              const EntryRecord& record, EntryNumber n) {
  workbook.Number(row, 0, static_cast<double>(n));
  workbook.Text(row, 1, record.Status == kStatusDeleted ? "deleted" : "active");
  std::string value;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const auto column = static_cast<lxw_col_t>(k + 2);
    value.clear();
    AppendFieldValue(value, store, record, columns[k].field);
    const std::string_view text = Trimmed(value);
    int decimals = 0;
    if (text.empty()) continue;
    // A text a sum field holds, which adds nothing to its total, stays text.
    if ((columns[k].numeric && ReadsAsNumber(text, decimals)) || (columns[k].always && IsNumber(text))) {
      workbook.Number(row, column, FieldNumber(text), workbook.formats[k]);
    } else {
      workbook.Text(row, column, value);
    }
  }
}

std::string Message(const std::string& path, const std::string& what) {
  return "Spreadsheet File: " + PathText(path) + " " + what;
}

using Visit = std::function<bool(const EntryRecord&, EntryNumber)>;

// Writes the header row and a row for each entry `walk` hands to its visit, in that order; `walk` runs
// twice, once to learn which columns are numbers.
EntryNumber WriteXlsx(CatalogStore& store, const std::string& path, EntryNumber rows,
                      const std::function<WalkEnd(const Visit&)>& walk) {
  std::string missing;
  const XlsxLibrary* lib = LoadXlsxLibrary(missing);
  if (lib == nullptr) {
    store.ui.Message(Message(path, "was not written: the spreadsheet library could not be loaded (" +
                                       AnsiFromUtf8(missing) + "); it is left as it was."),
                     Icon::Exclamation);
    return -1;
  }
  std::vector<Column> columns = UsedColumns(store);
  std::string value;
  WalkEnd end = walk([&](const EntryRecord& record, EntryNumber) {
    for (Column& column : columns) {
      value.clear();
      AppendFieldValue(value, store, record, column.field);
      Measure(column, value);
    }
    return true;
  });

  const std::string staged = NativePath(path) + ".new";
  Workbook workbook{.lib = *lib};
  lxw_workbook_options options{.constant_memory = LXW_TRUE, .tmpdir = nullptr, .use_zip64 = LXW_FALSE};
  if (end == WalkEnd::kDone) {
    workbook.book = lib->workbook_new_opt(staged.c_str(), &options);
    workbook.sheet = workbook.book == nullptr ? nullptr : lib->workbook_add_worksheet(workbook.book, nullptr);
    if (workbook.sheet == nullptr) workbook.error = LXW_ERROR_MEMORY_MALLOC_FAILED;
  }
  if (workbook.sheet != nullptr) {
    StartSheet(workbook, store, columns);
    lxw_row_t row = 0;
    end = walk([&](const EntryRecord& record, EntryNumber n) {
      WriteRow(workbook, store, columns, ++row, record, n);
      return workbook.error == LXW_NO_ERROR;
    });
  }
  // Closing writes the file, and frees the workbook whatever went before.
  if (workbook.book != nullptr) workbook.Keep(lib->workbook_close(workbook.book));
  int error = 0;
  if (end == WalkEnd::kDone && workbook.error == LXW_NO_ERROR) {
    sys::FileHandle written;
    error = sys::OpenFile(store.fileSystem, staged, sys::Access::kRead, sys::Creation::kExisting, written);
    if (error == 0) error = sys::SyncFile(written);
    if (const int closed = sys::CloseFile(written); error == 0) error = closed;
    if (error == 0) error = sys::RenameFile(store.fileSystem, staged, NativePath(path));
    if (error == 0) return rows;
  }

  const std::string why = error != 0 ? " (" + AnsiFromUtf8(std::strerror(error)) + ")"
                          : workbook.error != LXW_NO_ERROR
                              ? " (" + AnsiFromUtf8(lib->lxw_strerror(workbook.error)) + ")"
                          : end == WalkEnd::kCancelled ? " (cancelled)"
                                                       : "";
  store.ui.Message(Message(path, "was not written" + why + "; it is left as it was."), Icon::Exclamation);
  if (const int removed = sys::RemoveFile(store.fileSystem, staged); removed != 0 && removed != ENOENT) {
    store.ui.Message(Message(staged, "could not be removed (" + AnsiFromUtf8(std::strerror(removed)) + ")."),
                     Icon::Exclamation);
  }
  return -1;
}

}  // namespace

EntryNumber ExportXlsx(CatalogStore& store, const std::string& path) {
  return WriteXlsx(store, path, store.header.Count(),
                   [&](const Visit& visit) { return WalkEntries(store, kGaugeText, visit); });
}

EntryNumber ExportXlsxRows(CatalogStore& store, const std::string& path, const std::vector<EntryNumber>& entries) {
  return WriteXlsx(store, path, static_cast<EntryNumber>(entries.size()),
                   [&](const Visit& visit) { return WalkListedEntries(store, kGaugeText, entries, visit); });
}

}  // namespace vrk
