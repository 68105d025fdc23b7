#include "csv/CsvExport.h"

#include <charconv>
#include <functional>

#include "catalog/EntryFile.h"
#include "catalog/EntryText.h"
#include "catalog/ListedEntries.h"
#include "csv/CsvFormat.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"

namespace vrk {
namespace {

constexpr const char* kExportMessage = "Exporting to CSV....";
constexpr std::size_t kPiece = 1024 * 1024;  // rows gather into writes of about this size

struct CsvOutput {
  const CsvDialect& dialect;
  sys::FileHandle file;
  std::uint64_t offset = 0;
  std::string pending;  // UTF-8
  long unheld = 0;      // characters the encoding lacks, written as '?'
  int error = 0;        // of the first write the disk refused
};

bool WritePending(CsvOutput& output) {
  const std::string bytes = CsvEncode(output.pending, output.dialect.encoding, output.unheld);
  if (output.error == 0) output.error = sys::WriteAt(output.file, output.offset, bytes.data(), bytes.size());
  output.offset += bytes.size();
  output.pending.clear();
  return output.error == 0;
}

// Appends a cell for each used field, `cell` filling its text, and ends the row.
template <typename Cell>
void AppendFieldCells(CsvOutput& output, const CatalogStore& store, std::string& text, Cell cell) {
  for (int i = 0; i < kFieldCount; ++i) {
    if (store.header.FieldLength[static_cast<std::size_t>(i)] < 1) continue;
    text.clear();
    cell(text, i);
    output.pending += output.dialect.delimiter;
    AppendCsvCell(output.pending, output.dialect.guard ? GuardCsvCell(text) : text, output.dialect.delimiter);
  }
  output.pending += "\r\n";
}

using Visit = std::function<bool(const EntryRecord&, EntryNumber)>;

// Writes the header row and a row for each entry `walk` hands to its visit.
EntryNumber WriteCsv(CatalogStore& store, const std::string& path, EntryNumber rows, const CsvDialect& dialect,
                     const std::function<WalkEnd(const Visit&)>& walk) {
  const std::string staged = NativePath(path) + ".new";
  CsvOutput output{.dialect = dialect, .file = {}, .pending = {}};
  const int opened =
      sys::OpenFile(store.fileSystem, staged, sys::Access::kReadWrite, sys::Creation::kReplace, output.file);
  output.error = opened;
  WalkEnd end = WalkEnd::kFailed;
  std::string text;
  if (opened == 0) {
    const std::string start = CsvFileStart(dialect.encoding, dialect.byteOrderMark);
    output.error = sys::WriteAt(output.file, 0, start.data(), start.size());
    output.offset = start.size();
    output.pending = std::string("Number") + dialect.delimiter + "Status";
    AppendFieldCells(output, store, text, [&](std::string& name, int i) {
      AppendText(name, store.fieldTable[static_cast<std::size_t>(i)].Name);
    });
    end = walk([&](const EntryRecord& record, EntryNumber n) {
      char number[24];
      output.pending.append(number, std::to_chars(number, number + sizeof number, n).ptr);
      output.pending += dialect.delimiter;
      output.pending += record.Status == kStatusDeleted ? "deleted" : "active";
      AppendFieldCells(output, store, text,
                       [&](std::string& value, int i) { AppendFieldValue(value, store, record, i); });
      return output.pending.size() < kPiece || WritePending(output);
    });
  }
  if (end == WalkEnd::kDone && WritePending(output)) output.error = sys::SyncFile(output.file);
  if (const int closed = sys::CloseFile(output.file); output.error == 0) output.error = closed;
  if (end == WalkEnd::kDone && output.error == 0)
    output.error = sys::RenameFile(store.fileSystem, staged, NativePath(path));
  if (end == WalkEnd::kDone && output.error == 0) {
    if (output.unheld > 0) {
      store.ui.Message("Characters " + CsvEncodingText(dialect.encoding) +
                       " lacks, now \"?\": " + std::to_string(output.unheld));
    }
    return rows;
  }

  const std::string why = output.error != 0            ? " (" + ErrorText(output.error) + ")"
                          : end == WalkEnd::kCancelled ? " (cancelled)"
                                                       : "";
  store.ui.Message(CsvMessage(path, "was not written" + why + "; it is left as it was."), Icon::Exclamation);
  // Only a file this export made is removed.
  if (const int error = opened == 0 ? sys::RemoveFile(store.fileSystem, staged) : 0; error != 0 && error != ENOENT) {
    store.ui.Message(CsvMessage(staged, "could not be removed (" + ErrorText(error) + ")."), Icon::Exclamation);
  }
  return -1;
}

}  // namespace

EntryNumber ExportCsv(CatalogStore& store, const std::string& path, const CsvDialect& dialect) {
  return WriteCsv(store, path, store.header.Count(), dialect,
                  [&](const Visit& visit) { return WalkEntries(store, kExportMessage, visit); });
}

EntryNumber ExportCsvRows(CatalogStore& store, const std::string& path, const std::vector<EntryNumber>& entries,
                          const CsvDialect& dialect) {
  return WriteCsv(store, path, static_cast<EntryNumber>(entries.size()), dialect,
                  [&](const Visit& visit) { return WalkListedEntries(store, kExportMessage, entries, visit); });
}

}  // namespace vrk
