#include "csv/CsvFormat.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace vrk {
namespace {

constexpr std::size_t kBlock = 256 * 1024;
constexpr std::size_t kLongestCell = 1024 * 1024;
constexpr std::size_t kDetectionBytes = 64 * 1024;
constexpr std::size_t kDetectionRows = 10;  // the header and the rows after it that decide
constexpr std::string_view kDelimiters = ",;\t|";

// The parser's buffer holds the cell being read; it may not grow past the longest cell.
void* LimitedRealloc(void* data, std::size_t size) {
  return size > kLongestCell + 1 ? nullptr : std::realloc(data, size);
}

// Blanks are part of a cell: none is dropped around it.
int NoBlanks(unsigned char) { return 0; }

// What the parser's callbacks work on.
struct Rows {
  const std::function<bool(const CsvRow&)>& visit;
  bool unguard = false;
  CsvRow row;
  long line = 1;         // the line being parsed
  bool inRow = false;    // a row has begun and not yet ended
  bool stopped = false;  // `visit` asked for no more rows
};

void EndCell(void* data, std::size_t size, void* rows) {
  auto& r = *static_cast<Rows*>(rows);
  const std::string_view cell = size == 0 ? "" : std::string_view(static_cast<const char*>(data), size);
  r.row.cells.emplace_back(r.unguard ? UnguardCsvCell(cell) : std::string(cell));
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

// How often each delimiter stands outside quotes in each of the first lines.
std::vector<std::array<std::size_t, kDelimiters.size()>> DelimiterCounts(std::string_view text) {
  std::vector<std::array<std::size_t, kDelimiters.size()>> lines(1);
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '\n' && !quoted) {
      if (lines.size() == kDetectionRows) break;
      lines.emplace_back();
    } else if (const std::size_t k = kDelimiters.find(c); k != std::string_view::npos && !quoted) {
      ++lines.back()[k];
    }
  }
  return lines;
}

// A number as a spreadsheet reads one: a sign, digits, one decimal point or comma.
bool IsPlainNumber(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  const std::size_t point = text.find_first_of(".,");
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  const auto digits = [](std::string_view part) {
    return part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return whole.size() + fraction.size() > 0 && digits(whole) && digits(fraction);
}

bool NeedsGuard(std::string_view text) {
  if (text.empty()) return false;
  if (text.front() == '\'') return NeedsGuard(text.substr(1));
  return std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos && !IsPlainNumber(text);
}

}  // namespace

char CsvDelimiterNamed(std::string_view name) {
  if (name == "tab" || name == "TAB" || name == "\t") return '\t';
  return name.size() == 1 && kDelimiters.find(name.front()) != std::string_view::npos ? name.front() : '\0';
}

std::string CsvDelimiterText(char delimiter) {
  switch (delimiter) {
    case ',': return "comma";
    case ';': return "semicolon";
    case '\t': return "TAB";
    default: return "vertical bar";
  }
}

char DetectCsvDelimiter(const std::string& path, CsvEncoding encoding) {
  std::string bytes;
  if (sys::ReadFileStart(NativePath(path), kDetectionBytes, bytes) != 0) return ',';  // the reading says why
  const auto lines = DelimiterCounts(CsvDecoder(encoding).Decode(bytes));
  char best = '\0';
  std::ptrdiff_t bestRows = 0;
  for (std::size_t k = 0; k < kDelimiters.size(); ++k) {
    if (lines[0][k] == 0) continue;
    const std::ptrdiff_t rows =
        std::count_if(lines.begin() + 1, lines.end(), [&](const auto& line) { return line[k] == lines[0][k]; });
    if (best == '\0' || rows > bestRows) {  // a tie goes to the delimiter listed first
      best = kDelimiters[k];
      bestRows = rows;
    }
  }
  return best == '\0' ? ',' : best;
}

std::string GuardCsvCell(std::string_view text) {
  return NeedsGuard(text) ? "'" + std::string(text) : std::string(text);
}

std::string UnguardCsvCell(std::string_view cell) {
  return cell.starts_with('\'') && NeedsGuard(cell.substr(1)) ? std::string(cell.substr(1)) : std::string(cell);
}

void AppendCsvCell(std::string& out, std::string_view text, char delimiter) {
  const bool quoted = text.find_first_of(std::string{delimiter, '"', '\r', '\n'}) != std::string_view::npos ||
                      (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quoted) {
    out += text;
    return;
  }
  const std::size_t at = out.size();
  out.resize(at + 2 * text.size() + 2);
  out.resize(at + csv_write(out.data() + at, out.size() - at, text.data(), text.size()));
}

std::string ReadCsvRows(const std::string& path, const CsvDialect& dialect,
                        const std::function<bool(const CsvRow&)>& visit) {
  sys::FileHandle file;
  if (const int error =
          sys::OpenFile(sys::SystemFiles(), NativePath(path), sys::Access::kRead, sys::Creation::kExisting, file)) {
    return CsvMessage(path, "could not be read (" + ErrorText(error) + ").");
  }
  csv_parser parser;
  if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) return CsvMessage(path, "could not be read (no memory).");
  csv_set_space_func(&parser, NoBlanks);
  csv_set_delim(&parser, static_cast<unsigned char>(dialect.delimiter));
  csv_set_realloc_func(&parser, LimitedRealloc);
  Rows rows{.visit = visit, .unguard = dialect.guard, .row = {}};
  CsvDecoder decoder(dialect.encoding);
  std::string message;
  std::vector<char> block(kBlock);
  for (std::uint64_t offset = 0; message.empty() && !rows.stopped;) {
    std::size_t got = 0;
    if (const int error = sys::ReadAt(file, offset, block.data(), block.size(), got)) {
      message = CsvMessage(path, "could not be read (" + ErrorText(error) + ").");
      break;
    }
    if (got == 0) break;
    const std::string decoded = decoder.Decode(std::string_view(block.data(), got));
    std::string_view text = decoded;
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
