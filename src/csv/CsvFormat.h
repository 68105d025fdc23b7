// CSV files as RFC 4180 writes them: cells separated by commas, rows ended by CR LF, a cell quoted
// (its quotes doubled) where it must be. Text in the files is UTF-8; the messages about them are code
// page 1252, as every message of the program.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vrk {

// Appends the text as one cell: quoted when it holds a comma, a quote, CR or LF, or begins or ends
// with a blank (which a reader might drop), as it is otherwise.
void AppendCsvCell(std::string& out, std::string_view text);

// A row as read: its cells as the file stores them (UTF-8, quotes undone) and the line it begins on.
struct CsvRow {
  std::vector<std::string> cells;
  long line = 0;
};

// Reads the CSV file at `path` a block at a time and hands its rows in order to `visit`, which returns
// false to stop. A UTF-8 byte-order mark at the start is skipped, an empty line is no row, and a cell
// holds at most 1 MiB (a quote never closed would otherwise take in the rest of the file). Returns ""
// when the file was read to its end or `visit` stopped, else the message that says what is wrong and
// on which line.
std::string ReadCsvRows(const std::string& path, const std::function<bool(const CsvRow&)>& visit);

// "CSV File: PATH" and what is said of it; with a line, "CSV File: PATH, line N: " and what.
std::string CsvMessage(const std::string& path, const std::string& what);
std::string CsvMessage(const std::string& path, long line, const std::string& what);
// The system's text for an error number.
std::string ErrorText(int error);

}  // namespace vrk
