#include "csv/CsvFormat.h"

#include <csv.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace vrk {
namespace {

constexpr std::size_t kBlock = 256 * 1024;
constexpr std::size_t kLongestCell = 1024 * 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The parser's buffer holds the cell being read; it may not grow past the longest cell.
void* LimitedRealloc(void* data, std::size_t size) {
  return size > kLongestCell + 1 ? nullptr : std::realloc(data, size);
}

// Blanks are part of a cell: none is dropped around it.
int NoBlanks(unsigned char) { return 0; }

// What the parser's callbacks work on.
struct Rows {
  const std::function<bool(const CsvRow&)>& visit;
  CsvRow row;
  long line = 1;         // the line being parsed
  bool inRow = false;    // a row has begun and not yet ended
  bool stopped = false;  // `visit` asked for no more rows
};

void EndCell(void* data, std::size_t size, void* rows) {
  auto& r = *static_cast<Rows*>(rows);
  r.row.cells.emplace_back(size == 0 ? "" : std::string(static_cast<const char*>(data), size));
}

void EndRow(int, void* rows) {
  auto& r = *static_cast<Rows*>(rows);
  if (!r.stopped && !r.visit(r.row)) r.stopped = true;
  r.row.cells.clear();
  r.inRow = false;
}

// Parses one line, or the part of it a block holds. A row begins on the first line that holds more
// than a line end.
bool ParseLine(csv_parser& parser, Rows& rows, std::string_view part) {
  if (!rows.inRow && part.find_first_not_of("\r\n") != std::string_view::npos) {
    rows.inRow = true;
    rows.row.line = rows.line;
  }
  if (csv_parse(&parser, part.data(), part.size(), EndCell, EndRow, &rows) != part.size()) return false;
  if (part.back() == '\n') ++rows.line;
  return true;
}

std::string ParseError(const std::string& path, csv_parser& parser, const Rows& rows) {
  if (csv_error(&parser) == CSV_EPARSE) {
    return CsvMessage(path, rows.line,
                      "a quote out of place (a value with a quote in it must be quoted, and its quotes doubled).");
  }
  return CsvMessage(path, rows.row.line, "a value runs on for more than 1 MiB; is a closing quote missing?");
}

}  // namespace

void AppendCsvCell(std::string& out, std::string_view text) {
  const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                      (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quoted) {
    out += text;
    return;
  }
  const std::size_t at = out.size();
  out.resize(at + 2 * text.size() + 2);
  out.resize(at + csv_write(out.data() + at, out.size() - at, text.data(), text.size()));
}

std::string ReadCsvRows(const std::string& path, const std::function<bool(const CsvRow&)>& visit) {
  sys::FileHandle file;
  if (const int error =
          sys::OpenFile(sys::SystemFiles(), NativePath(path), sys::Access::kRead, sys::Creation::kExisting, file)) {
    return CsvMessage(path, "could not be read (" + ErrorText(error) + ").");
  }
  csv_parser parser;
  if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) return CsvMessage(path, "could not be read (no memory).");
  csv_set_space_func(&parser, NoBlanks);
  csv_set_realloc_func(&parser, LimitedRealloc);
  Rows rows{.visit = visit, .row = {}};
  std::string message;
  std::vector<char> block(kBlock);
  for (std::uint64_t offset = 0; message.empty() && !rows.stopped;) {
    std::size_t got = 0;
    if (const int error = sys::ReadAt(file, offset, block.data(), block.size(), got)) {
      message = CsvMessage(path, "could not be read (" + ErrorText(error) + ").");
      break;
    }
    if (got == 0) break;
    std::string_view text(block.data(), got);
    if (offset == 0 && text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    offset += got;
    while (!text.empty() && !rows.stopped) {
      const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
      if (!ParseLine(parser, rows, text.substr(0, end))) {
        message = ParseError(path, parser, rows);
        break;
      }
      text.remove_prefix(end);
    }
  }
  if (message.empty() && !rows.stopped && csv_fini(&parser, EndCell, EndRow, &rows) != 0) {
    message = CsvMessage(path, rows.row.line, "a quoted value is never closed.");
  }
  csv_free(&parser);
  return message;
}

std::string CsvMessage(const std::string& path, const std::string& what) {
  return "CSV File: " + PathText(path) + " " + what;
}

std::string CsvMessage(const std::string& path, long line, const std::string& what) {
  return "CSV File: " + PathText(path) + ", line " + std::to_string(line) + ": " + what;
}

std::string ErrorText(int error) { return AnsiFromUtf8(std::strerror(error)); }

}  // namespace vrk
