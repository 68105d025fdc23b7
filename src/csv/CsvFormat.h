// CSV files as RFC 4180 writes them: cells separated by commas (or the semicolons, TABs or vertical
// bars spreadsheets write under other settings), rows ended by CR LF, a cell quoted (its quotes
// doubled) where it must be. Text in the files is UTF-8 unless another encoding is named; the messages
// about them are code page 1252, as every message of the program.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "csv/CsvEncoding.h"

namespace vrk {

// How a CSV file is written or read.
struct CsvDialect {
  char delimiter = ',';  // ',', ';', '\t' or '|'; 0 on import: found from the file (DetectCsvDelimiter)
  CsvEncoding encoding = CsvEncoding::kUtf8;
  bool byteOrderMark = false;  // export: a UTF-8 file begins with one
  // Cells a spreadsheet would take for a formula are written with a leading "'", which spreadsheets
  // show without, and read without it again (GuardCsvCell).
  bool guard = true;
};

// The delimiter an option names: "," ";" "|", and TAB as "tab" or itself; 0 for anything else.
char CsvDelimiterNamed(std::string_view name);
// "comma", "semicolon", "TAB", "vertical bar".
std::string CsvDelimiterText(char delimiter);
// The delimiter of the file's header and first rows: of comma, semicolon, TAB and vertical bar the
// one the header holds (outside quotes) that most of the next rows hold as often, a comma when none.
char DetectCsvDelimiter(const std::string& path, CsvEncoding encoding);

// Appends the text as one cell: quoted when it holds the delimiter, a quote, CR or LF, or begins or
// ends with a blank (which a reader might drop), as it is otherwise.
void AppendCsvCell(std::string& out, std::string_view text, char delimiter = ',');
// A cell beginning with =, +, -, @, TAB or CR, which a spreadsheet would evaluate, gets a leading "'"
// (a plain number such as -5.00 or -5,00 stays as it is); so does one that a "'" only precedes, so that
// UnguardCsvCell gives every text back exactly.
std::string GuardCsvCell(std::string_view text);
// A cell without the "'" GuardCsvCell put before it.
std::string UnguardCsvCell(std::string_view cell);

// A row as read: its cells as the file stores them (UTF-8, quotes undone) and the line it begins on.
struct CsvRow {
  std::vector<std::string> cells;
  long line = 0;
};

// Reads the CSV file at `path` a block at a time, as the dialect says, and hands its rows in order to
// `visit`, which returns false to stop. A byte-order mark at the start is skipped, an empty line is no
// row, and a cell holds at most 1 MiB (a quote never closed would otherwise take in the rest of the
// file). Returns "" when the file was read to its end or `visit` stopped, else the message that says
// what is wrong and on which line.
std::string ReadCsvRows(const std::string& path, const CsvDialect& dialect,
                        const std::function<bool(const CsvRow&)>& visit);

// "CSV File: PATH" and what is said of it; with a line, "CSV File: PATH, line N: " and what.
std::string CsvMessage(const std::string& path, const std::string& what);
std::string CsvMessage(const std::string& path, long line, const std::string& what);
// The system's text for an error number.
std::string ErrorText(int error);

}  // namespace vrk
