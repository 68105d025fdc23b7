// The dBase III file engine: creates, appends to and reads .DBF tables through numbered table handles.
// Every operation returns an error code, 0 for success; DbfErrorText turns a code into the message the
// user sees. Texts are code page 1252, one byte per character, written and read without conversion.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vrk {

// ---- Error codes -----------------------------------------------------------------------------------
inline constexpr int kDbfOk = 0;
inline constexpr int kDbfNoFileHandles = 100;
inline constexpr int kDbfNoTableHandles = 101;
inline constexpr int kDbfBadType = 103;
inline constexpr int kDbfBadHandle = 104;
inline constexpr int kDbfBadMode = 105;
inline constexpr int kDbfBadFieldName = 106;
inline constexpr int kDbfNoFields = 107;
inline constexpr int kDbfFieldNumberTooHigh = 108;
inline constexpr int kDbfNameInUse = 109;
inline constexpr int kDbfBadFieldLength = 110;
inline constexpr int kDbfBadDecimals = 111;
inline constexpr int kDbfRecordTooLong = 112;
inline constexpr int kDbfBadRecordNumber = 113;
inline constexpr int kDbfRecordLengthMismatch = 114;
inline constexpr int kDbfNotDbf = 115;
inline constexpr int kDbfTooManyFields = 116;
inline constexpr int kDbfBadDate = 146;

// Run-time codes for what the file system refuses.
inline constexpr int kErrOutOfMemory = 7;
inline constexpr int kErrInternal = 51;
inline constexpr int kErrBadFileName = 52;
inline constexpr int kErrFileNotFound = 53;
inline constexpr int kErrFileAlreadyOpen = 55;
inline constexpr int kErrDeviceIo = 57;
inline constexpr int kErrDiskFull = 61;
inline constexpr int kErrPastEndOfFile = 62;
inline constexpr int kErrTooManyFiles = 67;
inline constexpr int kErrDeviceUnavailable = 68;
inline constexpr int kErrLocked = 70;
inline constexpr int kErrDiskNotReady = 71;
inline constexpr int kErrPathFileAccess = 75;
inline constexpr int kErrPathNotFound = 76;

// ---- Limits ----------------------------------------------------------------------------------------
inline constexpr int kDbfMaxTables = 10;
inline constexpr int kDbfMaxOpenFiles = 40;
inline constexpr int kDbfMaxFields = 256;
inline constexpr int kDbfMaxRecordLength = 4096;  // for tables this engine creates
// The longest field a table may hold; other programs write numbers wider than a dBase III table's 19.
inline constexpr int kDbfMaxFieldLength = 254;

// ---- Code pages ------------------------------------------------------------------------------------
// The code page of a table's text, as its header's language-driver byte or its NAME.CPG file names it.
enum class DbfCodePage { kUnknown, k1252, k437, kLatin1, kUtf8 };
// The language-driver byte this engine writes: Windows ANSI, code page 1252.
inline constexpr std::uint8_t kDbfLanguageDriver1252 = 0x03;

// ---- Tables ----------------------------------------------------------------------------------------
// One field. Length and decimals are stored as one byte each; they are ints here so that a value out
// of a byte's range is refused instead of wrapping.
struct DbfFieldDef {
  std::string name;  // 1 to 10 characters
  char type = 'C';   // C, N, L, D, M (F is read but not created)
  int length = 0;
  int decimals = 0;
  int start = 0;  // 1-based position in the record, the deletion flag being 1; set by the engine
};

struct DbfDate {
  int year = 0;  // full year, 2024
  int month = 0;
  int day = 0;
};

// One table handle. A handle can be taken without a file: a create that failed keeps its handle until
// DbfClose.
struct DbfTable {
  bool taken = false;
  sys::FileHandle file;  // none when the handle has no file; read-only when it could only be read
  std::string path;      // upper-cased
  std::uint8_t version = 0;
  std::array<std::uint8_t, 3> updated{};  // years since 1900, month, day
  std::uint8_t languageDriver = 0;        // header byte 29: the code page of the text, 0 for none
  std::uint32_t recordCount = 0;
  std::uint16_t headerLength = 0;
  std::uint16_t recordLength = 0;  // deletion flag included
  std::vector<DbfFieldDef> fields;
  bool changed = false;  // the header on disk is rewritten when a changed table is closed
  // Appended records are gathered and written together; a read ahead serves the records that follow.
  std::uint64_t fileSize = 0;  // bytes of the file, the gathered records included
  std::string pending;         // records appended but not yet written, ending at fileSize
  std::string readAhead;       // bytes of the file from readAheadStart
  std::uint64_t readAheadStart = 0;
};

// The user's short date format, for converting "D" fields.
struct DbfDateFormat {
  bool dayFirst = false;
  std::string separator = "/";
};

// The format of a strftime pattern such as "%d.%m.%Y".
[[nodiscard]] DbfDateFormat DbfParseDateFormat(std::string_view pattern);
// The format of the current locale's D_FMT.
[[nodiscard]] DbfDateFormat DbfLocaleDateFormat();

// The engine's state; callers own it and pass it to every operation.
struct DbfEngine {
  std::array<DbfTable, kDbfMaxTables> tables{};  // handle h is tables[h - 1]
  DbfDateFormat dateFormat = DbfLocaleDateFormat();
  std::optional<DbfDate> today;                   // the update date written on close; empty: the system's local date
  sys::FileSystem* system = &sys::SystemFiles();  // where the tables are
};

struct DbfInfo {
  std::uint32_t recordCount = 0;
  int fieldCount = 0;
  int recordLength = 0;
  bool hasMemo = false;  // the table has a memo file (.DBT)
  std::uint8_t languageDriver = 0;
  DbfDate updated;  // the header's date of the last change
};

struct DbfRecord {
  std::vector<std::string> fields;  // each exactly as stored, blanks included
  std::string text;                 // the whole record, deletion flag first
};

// ---- Operations ------------------------------------------------------------------------------------
// The file a table path names: a file name without "." is trimmed and gets ".DBF", and the file name
// is upper-cased. Empty for a path that names no file ("", "dir/").
[[nodiscard]] std::string DbfTableFile(std::string_view path);
// The path is taken as DbfTableFile gives it. `handle` is 0 when none could be taken; otherwise it stays
// taken, even when the create fails, until DbfClose.
[[nodiscard]] int DbfCreate(DbfEngine& engine, std::string_view path, const std::vector<DbfFieldDef>& fields,
                            int& handle);
// Texts longer than their field are cut, shorter ones padded with blanks; missing texts are blank.
[[nodiscard]] int DbfAppend(DbfEngine& engine, int handle, const std::vector<std::string>& texts,
                            std::int64_t& recordNumber);
[[nodiscard]] int DbfClose(DbfEngine& engine, int handle);
// `handle` is 0 when the open fails: a failed open keeps no handle.
[[nodiscard]] int DbfOpen(DbfEngine& engine, std::string_view path, int& handle);
[[nodiscard]] int DbfGetInfo(const DbfEngine& engine, int handle, DbfInfo& info);
// Field numbers run from 1.
[[nodiscard]] int DbfGetField(const DbfEngine& engine, int handle, int fieldNumber, DbfFieldDef& field);
// Record numbers run from 1.
[[nodiscard]] int DbfReadRecord(DbfEngine& engine, int handle, std::int64_t recordNumber, DbfRecord& record);
// The date of a header's three date bytes. dBase counts years from 1900; some writers store the
// year's last two digits instead, read as 1980 to 2079.
[[nodiscard]] DbfDate DbfHeaderDate(const std::array<std::uint8_t, 3>& bytes);
// The code page a language-driver byte names; kUnknown for 0 and for code pages this program does not
// convert.
[[nodiscard]] DbfCodePage DbfLanguageDriverCodePage(std::uint8_t languageDriver);
// The code page a NAME.CPG file's text names ("1252", "UTF-8", "ISO-8859-1", "437" and their other
// spellings); kUnknown for anything else.
[[nodiscard]] DbfCodePage DbfCpgCodePage(std::string_view text);
// The code page file beside a table: its name with the extension CPG, in the letter case of the
// table's extension.
[[nodiscard]] std::string DbfCodePageFile(std::string_view tablePath);
// Text of the code page in code page 1252; characters 1252 lacks become '?'.
[[nodiscard]] std::string DbfTextToAnsi(std::string_view text, DbfCodePage codePage);
// "Error <code>\r\n<message>".
[[nodiscard]] std::string DbfErrorText(int code);

}  // namespace vrk
