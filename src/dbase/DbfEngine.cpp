#include "dbase/DbfEngine.h"

#include <langinfo.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <new>
#include <thread>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace vrk {
namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kDescriptorSize = 32;
constexpr std::size_t kNameBytes = 11;
constexpr std::size_t kMaxNameLength = 10;
constexpr char kTerminator = '\x0D';
constexpr char kEndOfFile = '\x1A';
constexpr int kMaxDecimals = 15;  // for "N" fields
constexpr std::size_t kLanguageDriverAt = 29;

// A refused lock (code 70) is tried again this often, with this pause between tries.
constexpr int kLockTries = 5;
constexpr std::chrono::milliseconds kLockPause{200};

// ---- Errors ----------------------------------------------------------------------------------------

int CodeFromErrno(int error) {
  switch (error) {
    case ENOENT: return kErrFileNotFound;
    case ENOTDIR: return kErrPathNotFound;
    case ENAMETOOLONG: return kErrBadFileName;
    case ENOSPC:
    case EFBIG:
    case EDQUOT: return kErrDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return kErrPathFileAccess;
    case EAGAIN:
    case ENOLCK: return kErrLocked;
    case EMFILE:
    case ENFILE: return kErrTooManyFiles;
    case ETXTBSY:
    case EBUSY: return kErrFileAlreadyOpen;
    case ENODEV:
    case ENXIO: return kErrDeviceUnavailable;
    case ENOMEDIUM: return kErrDiskNotReady;
    default: return kErrDeviceIo;  // EIO and everything without a closer code
  }
}

// Runs a write step, trying again while a lock refuses it.
template <typename Step>
int RetryWhileLocked(Step step) {
  int code = step();
  for (int tries = 1; code == kErrLocked && tries < kLockTries; ++tries) {
    std::this_thread::sleep_for(kLockPause);
    code = step();
  }
  return code;
}

// Runs an operation's body; nothing the standard library throws gets past it.
template <typename Body>
int Guarded(Body body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return kErrOutOfMemory;
  } catch (...) {
    return kErrInternal;
  }
}

// ---- File access -----------------------------------------------------------------------------------

int WriteAt(const sys::FileHandle& file, std::uint64_t offset, std::string_view bytes) {
  const int error = sys::WriteAt(file, offset, bytes.data(), bytes.size());
  return error == 0 ? kDbfOk : CodeFromErrno(error);
}

// Reads exactly `size` bytes; a file that ends sooner gives "Input past end of file", with the bytes
// that were there.
int ReadAt(const sys::FileHandle& file, std::uint64_t offset, std::size_t size, std::string& bytes) {
  bytes.assign(size, '\0');
  std::size_t got = 0;
  if (const int error = sys::ReadAt(file, offset, bytes.data(), size, got)) return CodeFromErrno(error);
  bytes.resize(got);
  return got == size ? kDbfOk : kErrPastEndOfFile;
}

int TableFileSize(const sys::FileHandle& file, std::uint64_t& size) {
  const int error = sys::FileSize(file, size);
  return error == 0 ? kDbfOk : CodeFromErrno(error);
}

// Opens or creates a regular file; a FIFO, device or directory is refused.
int OpenTableFile(sys::FileSystem& system, const std::string& nativePath, sys::Access access, sys::Creation creation,
                  sys::FileHandle& file) {
  const int error = sys::OpenFile(system, nativePath, access, creation, file);
  return error == 0 ? kDbfOk : error == sys::kNotAFile ? kErrPathFileAccess : CodeFromErrno(error);
}

// A missing file is "File not found" only when its directory exists.
int MissingFileCode(const std::string& nativePath) {
  const std::size_t slash = nativePath.rfind('/');
  if (slash == std::string::npos) return kErrFileNotFound;
  const std::string directory = slash == 0 ? "/" : nativePath.substr(0, slash);
  return sys::StatusOfPath(directory).kind == sys::PathKind::kDirectory ? kErrFileNotFound : kErrPathNotFound;
}

// ---- Handles and paths -----------------------------------------------------------------------------

std::string TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The table of a handle, null when the handle is out of range; for a const or a mutable engine.
template <typename Engine>
auto TableOf(Engine& engine, int handle) -> decltype(&engine.tables[0]) {
  return handle >= 1 && handle <= kDbfMaxTables ? &engine.tables[handle - 1] : nullptr;
}

// 104 for a handle out of range, 105 for one without an open file.
int CheckOpen(const DbfTable* table) {
  if (table == nullptr) return kDbfBadHandle;
  return table->file.isOpen() ? kDbfOk : kDbfBadMode;
}

struct TablePath {
  std::string stored;  // upper-cased, kept in the handle
  std::string native;  // what the file system is asked for
};

// Where the file name begins: after the last '/'.
std::size_t FileNameStart(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

// The handle keeps the path upper-cased. NativePath finds an existing file whose name differs only in
// letter case (tables copied from other systems).
int MakeTablePath(std::string_view path, TablePath& result) {
  const std::string text = DbfTableFile(path);
  if (text.empty()) return kErrBadFileName;
  result.stored = UpperAscii(text);
  result.native = NativePath(text);
  return kDbfOk;
}

// The first steps of create and open: a file to spare, the path, the lowest free handle.
int TakeHandle(DbfEngine& engine, std::string_view path, TablePath& tablePath, int& handle) {
  handle = 0;
  const auto openFiles = std::count_if(engine.tables.begin(), engine.tables.end(),
                                       [](const DbfTable& table) { return table.file.isOpen(); });
  if (openFiles + 1 > kDbfMaxOpenFiles) return kDbfNoFileHandles;
  if (const int code = MakeTablePath(path, tablePath)) return code;
  const auto free =
      std::find_if(engine.tables.begin(), engine.tables.end(), [](const DbfTable& table) { return !table.taken; });
  if (free == engine.tables.end()) return kDbfNoTableHandles;
  *free = DbfTable{};
  free->taken = true;
  free->path = tablePath.stored;
  handle = static_cast<int>(free - engine.tables.begin()) + 1;
  return kDbfOk;
}

// A file is open in one handle at most: a second handle would overwrite the first one's records and
// header, and creating over an open table would cut it off under its handle.
int CheckNotOpenElsewhere(const DbfEngine& engine, const DbfTable& self, const std::string& nativePath) {
  sys::FileId file;
  if (sys::IdOfPath(nativePath, file) != 0) return kDbfOk;  // opening or creating tells what is wrong
  for (const DbfTable& other : engine.tables) {
    sys::FileId open;
    if (&other != &self && other.file.isOpen() && sys::IdOf(other.file, open) == 0 && open == file) {
      return kErrFileAlreadyOpen;
    }
  }
  return kDbfOk;
}

// ---- Header ----------------------------------------------------------------------------------------

void PutLittleEndian(std::string& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t GetLittleEndian(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::string HeaderBytes(const DbfTable& table) {
  std::string header(kHeaderSize, '\0');
  header[0] = static_cast<char>(table.version);
  for (int i = 0; i < 3; ++i) header[1 + i] = static_cast<char>(table.updated[i]);
  PutLittleEndian(header, 4, table.recordCount, 4);
  PutLittleEndian(header, 8, table.headerLength, 2);
  PutLittleEndian(header, 10, table.recordLength, 2);
  header[kLanguageDriverAt] = static_cast<char>(table.languageDriver);
  return header;
}

std::string DescriptorBytes(const DbfFieldDef& field) {
  std::string descriptor(kDescriptorSize, '\0');
  descriptor.replace(0, field.name.size(), field.name);
  descriptor[11] = field.type;
  descriptor[16] = static_cast<char>(field.length);
  descriptor[17] = static_cast<char>(field.decimals);
  return descriptor;
}

std::array<std::uint8_t, 3> UpdateDate(const DbfEngine& engine) {
  DbfDate date;
  if (engine.today) {
    date = *engine.today;
  } else {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    date = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  }
  return {static_cast<std::uint8_t>(std::clamp(date.year - 1900, 0, 255)), static_cast<std::uint8_t>(date.month),
          static_cast<std::uint8_t>(date.day)};
}

// Start positions follow from the lengths in field order, the first field at 2.
int AssignStarts(std::vector<DbfFieldDef>& fields) {
  int position = 2;
  for (DbfFieldDef& field : fields) {
    field.start = position;
    position += field.length;
  }
  return position - 1;  // the record length
}

// ---- Field rules -----------------------------------------------------------------------------------

bool LengthFitsType(char type, int length, int numberMaximum) {
  switch (type) {
    case 'C': return length >= 1 && length <= 254;
    case 'D': return length == 8;
    case 'L': return length == 1;
    case 'M': return length == 10;
    case 'N':
    case 'F': return length >= 1 && length <= numberMaximum;
    default: return false;
  }
}

bool ValidNameCharacters(std::string_view name) {
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '_'; });
}

// A leading run of digits with a value above 0 (1ST, 01) is refused; 0A is accepted.
bool LeadingNumberAboveZero(std::string_view name) {
  for (char c : name) {
    if (c < '0' || c > '9') return false;
    if (c != '0') return true;
  }
  return false;
}

// Checks one definition of a new table, in the order the rules are applied, and gives its stored form.
int DefineField(const DbfFieldDef& def, const std::vector<DbfFieldDef>& defined, DbfFieldDef& field) {
  if (def.length < 1) return kDbfBadFieldLength;
  if (def.type == 'N' && def.decimals > kMaxDecimals) return kDbfBadDecimals;
  const std::string name = UpperAnsi(TrimBlanks(def.name));
  if (name.empty() || name.size() > kMaxNameLength || name[0] == '_' || LeadingNumberAboveZero(name)) {
    return kDbfBadFieldName;
  }
  if (!ValidNameCharacters(name)) return kDbfBadFieldName;
  // "F" is read from a table that holds it but has no place in a table this engine makes.
  if (std::string_view("CDLMN").find(def.type) == std::string_view::npos) return kDbfBadType;
  if (!LengthFitsType(def.type, def.length, 19)) return kDbfBadFieldLength;
  if (def.decimals < 0 || def.decimals >= def.length) return kDbfBadDecimals;
  if (std::any_of(defined.begin(), defined.end(), [&](const DbfFieldDef& f) { return f.name == name; })) {
    return kDbfNameInUse;
  }
  if (defined.size() + 1 > static_cast<std::size_t>(kDbfMaxFields)) return kDbfTooManyFields;
  field = {name, def.type, def.length, def.decimals, 0};
  return kDbfOk;
}

// All definitions of a new table, checked before anything touches the disk so that a refused
// definition never costs an existing file of that name.
int DefineFields(const std::vector<DbfFieldDef>& defs, std::vector<DbfFieldDef>& fields, int& recordLength) {
  for (const DbfFieldDef& def : defs) {
    DbfFieldDef field;
    if (const int code = DefineField(def, fields, field)) return code;
    fields.push_back(field);
  }
  if (fields.empty()) return kDbfNoFields;
  recordLength = AssignStarts(fields);
  return recordLength > kDbfMaxRecordLength ? kDbfRecordTooLong : kDbfOk;
}

// ---- Reading the header ----------------------------------------------------------------------------

bool KnownVersion(std::uint8_t version) {
  return version == 0x03 || version == 0x63 || version == 0x83 || version == 0x8B;
}

bool HasMemo(std::uint8_t version) { return version == 0x83 || version == 0x8B; }

int ReadDescriptor(std::string_view bytes, DbfFieldDef& field) {
  const std::string_view name = bytes.substr(0, kNameBytes);
  field.name = std::string(name.substr(0, name.find('\0')));
  field.type = bytes[11];
  field.length = static_cast<unsigned char>(bytes[16]);
  field.decimals = static_cast<unsigned char>(bytes[17]);
  if (std::string_view("CNLDMF").find(field.type) == std::string_view::npos) return kDbfNotDbf;
  return LengthFitsType(field.type, field.length, kDbfMaxFieldLength) ? kDbfOk : kDbfBadFieldLength;
}

// Reads and checks the header and descriptors. Every size is checked against the file before it is
// used; a header that contradicts itself or the file is refused.
int ReadHeader(DbfTable& table) {
  std::uint64_t fileSize = 0;
  if (const int code = TableFileSize(table.file, fileSize)) return code;
  table.fileSize = fileSize;
  if (fileSize < kHeaderSize) return kDbfNotDbf;
  std::string header;
  if (const int code = ReadAt(table.file, 0, kHeaderSize, header)) return code;
  table.version = static_cast<std::uint8_t>(header[0]);
  if (!KnownVersion(table.version)) return kDbfNotDbf;
  for (int i = 0; i < 3; ++i) table.updated[i] = static_cast<std::uint8_t>(header[1 + i]);
  table.recordCount = GetLittleEndian(header, 4, 4);
  table.headerLength = static_cast<std::uint16_t>(GetLittleEndian(header, 8, 2));
  table.recordLength = static_cast<std::uint16_t>(GetLittleEndian(header, 10, 2));
  table.languageDriver = static_cast<std::uint8_t>(header[kLanguageDriverAt]);

  const std::size_t slots = table.headerLength < kHeaderSize ? 0 : (table.headerLength - kHeaderSize) / kDescriptorSize;
  if (slots > static_cast<std::size_t>(kDbfMaxFields)) return kDbfTooManyFields;
  if (kHeaderSize + slots * kDescriptorSize > fileSize) return kDbfNotDbf;
  std::string descriptors;
  if (const int code = ReadAt(table.file, kHeaderSize, slots * kDescriptorSize, descriptors)) return code;
  // The terminator ends the list early for writers that pad the header after it.
  for (std::size_t i = 0; i < slots && descriptors[i * kDescriptorSize] != kTerminator; ++i) {
    DbfFieldDef field;
    const std::string_view slot = std::string_view(descriptors).substr(i * kDescriptorSize, kDescriptorSize);
    if (const int code = ReadDescriptor(slot, field)) return code;
    table.fields.push_back(field);
  }
  if (table.fields.empty()) return kDbfNoFields;
  return AssignStarts(table.fields) == table.recordLength ? kDbfOk : kDbfRecordLengthMismatch;
}

// Where a field's text lies in a record of `recordSize` bytes (0-based offset).
int FieldSpan(const DbfFieldDef& field, std::size_t recordSize, std::size_t& offset) {
  if (field.start < 1 || field.length < 1) return kDbfBadFieldLength;
  offset = static_cast<std::size_t>(field.start) - 1;
  return offset + static_cast<std::size_t>(field.length) > recordSize ? kDbfRecordLengthMismatch : kDbfOk;
}

std::uint64_t RecordOffset(const DbfTable& table, std::uint64_t recordNumber) {
  return table.headerLength + (recordNumber - 1) * table.recordLength;
}

constexpr std::size_t kBlock = 64 * 1024;

// Writes the gathered records.
int WritePending(DbfTable& table) {
  if (table.pending.empty()) return kDbfOk;
  const std::uint64_t offset = table.fileSize - table.pending.size();
  const int code = RetryWhileLocked([&] { return WriteAt(table.file, offset, table.pending); });
  if (code == kDbfOk) table.pending.clear();
  return code;
}

// Gathers a record that ends the file; what does not end it is written at once.
int Append(DbfTable& table, std::uint64_t offset, const std::string& record) {
  table.readAhead.clear();
  if (offset != table.fileSize) {
    if (const int code = WritePending(table)) return code;
    if (const int code = RetryWhileLocked([&] { return WriteAt(table.file, offset, record); })) return code;
    table.fileSize = std::max(table.fileSize, offset + record.size());
    return kDbfOk;
  }
  table.pending += record;
  table.fileSize += record.size();
  return table.pending.size() >= kBlock ? WritePending(table) : kDbfOk;
}

// Reads `size` bytes at `offset` through the read ahead; a file that ends sooner gives "Input past
// end of file".
int ReadThrough(DbfTable& table, std::uint64_t offset, std::size_t size, std::string& bytes) {
  if (const int code = WritePending(table)) return code;
  const std::uint64_t end = table.readAheadStart + table.readAhead.size();
  if (offset < table.readAheadStart || offset + size > end) {
    table.readAhead.clear();
    if (const int code = ReadAt(table.file, offset, std::max(size, kBlock), table.readAhead);
        code != kDbfOk && code != kErrPastEndOfFile) {
      return code;
    }
    table.readAheadStart = offset;
  }
  const std::uint64_t from = offset - table.readAheadStart;
  if (from + size > table.readAhead.size()) return kErrPastEndOfFile;
  bytes.assign(table.readAhead, from, size);
  return kDbfOk;
}

}  // namespace

// ---- Date format -----------------------------------------------------------------------------------

DbfDateFormat DbfParseDateFormat(std::string_view pattern) {
  DbfDateFormat format;
  std::size_t i = pattern.find('%');
  if (i == std::string_view::npos || i + 1 >= pattern.size()) return format;
  format.dayFirst = pattern[i + 1] == 'd' || pattern[i + 1] == 'e';
  const std::size_t separatorStart = i + 2;
  const std::size_t separatorEnd = pattern.find('%', separatorStart);
  const std::string_view separator = pattern.substr(separatorStart, separatorEnd - separatorStart);
  if (!separator.empty()) format.separator = std::string(separator);
  return format;
}

DbfDateFormat DbfLocaleDateFormat() { return DbfParseDateFormat(::nl_langinfo(D_FMT)); }

// ---- Operations ------------------------------------------------------------------------------------

std::string DbfTableFile(std::string_view path) {
  // Only the file name decides: a dot in a directory name ("/home/u/.cats/books") is no extension.
  std::string text =
      path.find('.', FileNameStart(path)) != std::string_view::npos ? std::string(path) : TrimBlanks(path) + ".DBF";
  const std::size_t nameStart = FileNameStart(text);
  if (nameStart == text.size() || text.substr(nameStart) == ".DBF") return {};
  // Table names are upper case. On this file system letter case matters, so only the file name is
  // upper-cased: the directory stays as given, so that an existing lower-case directory is found.
  return text.substr(0, nameStart) + UpperAscii(text.substr(nameStart));
}

int DbfCreate(DbfEngine& engine, std::string_view path, const std::vector<DbfFieldDef>& defs, int& handle) {
  handle = 0;
  return Guarded([&] {
    TablePath tablePath;
    if (const int code = TakeHandle(engine, path, tablePath, handle)) return code;
    DbfTable& table = engine.tables[handle - 1];
    std::vector<DbfFieldDef> fields;
    int recordLength = 0;
    if (const int code = DefineFields(defs, fields, recordLength)) return code;
    if (const int code = CheckNotOpenElsewhere(engine, table, tablePath.native)) return code;
    if (const int code = OpenTableFile(*engine.system, tablePath.native, sys::Access::kReadWrite,
                                       sys::Creation::kReplace, table.file)) {
      // Creating finds no file only when the directory is missing.
      return code == kErrFileNotFound ? kErrPathNotFound : code;
    }
    table.version = 0x03;
    table.languageDriver = kDbfLanguageDriver1252;
    table.updated = UpdateDate(engine);
    table.headerLength = static_cast<std::uint16_t>(kHeaderSize + kDescriptorSize * fields.size() + 1);
    table.recordLength = static_cast<std::uint16_t>(recordLength);
    table.fields = std::move(fields);
    table.changed = true;
    // The whole header goes out now, so the file is a valid empty table even before it is closed.
    std::string bytes = HeaderBytes(table);
    for (const DbfFieldDef& field : table.fields) bytes += DescriptorBytes(field);
    bytes += {kTerminator, kEndOfFile};
    const int code = RetryWhileLocked([&] { return WriteAt(table.file, 0, bytes); });
    table.fileSize = bytes.size();
    if (code != kDbfOk) {
      // Nothing usable was written: the handle keeps no file, and closing it writes nothing.
      sys::CloseFile(table.file);
      table.changed = false;
    }
    return code;
  });
}

int DbfAppend(DbfEngine& engine, int handle, const std::vector<std::string>& texts, std::int64_t& recordNumber) {
  recordNumber = 0;
  return Guarded([&] {
    DbfTable* table = TableOf(engine, handle);
    if (const int code = CheckOpen(table)) return code;
    if (!table->file.writable()) return kDbfBadMode;
    if (texts.size() > table->fields.size()) return kDbfTooManyFields;  // a text would be lost
    if (table->recordCount == UINT32_MAX) return kDbfBadRecordNumber;
    std::string record(table->recordLength, ' ');
    for (std::size_t i = 0; i < texts.size(); ++i) {
      const DbfFieldDef& field = table->fields[i];
      std::size_t offset = 0;
      if (const int code = FieldSpan(field, record.size(), offset)) return code;
      const std::size_t used = std::min(texts[i].size(), static_cast<std::size_t>(field.length));
      record.replace(offset, used, texts[i], 0, used);
    }
    // A file that does not hold all its records would get a hole before the new one.
    const std::uint64_t number = std::uint64_t{table->recordCount} + 1;
    if (table->fileSize < RecordOffset(*table, number)) return kDbfRecordLengthMismatch;
    if (const int code = Append(*table, RecordOffset(*table, number), record)) return code;
    table->recordCount = static_cast<std::uint32_t>(number);
    table->changed = true;
    recordNumber = static_cast<std::int64_t>(number);
    return kDbfOk;
  });
}

int DbfClose(DbfEngine& engine, int handle) {
  return Guarded([&] {
    DbfTable* table = TableOf(engine, handle);
    if (table == nullptr) return kDbfBadHandle;
    if (!table->taken) return kDbfBadMode;
    int code = kDbfOk;
    if (table->file.isOpen()) {
      code = WritePending(*table);
      if (table->changed && code == kDbfOk) {
        table->updated = UpdateDate(engine);
        code = RetryWhileLocked([&] { return WriteAt(table->file, 0, HeaderBytes(*table)); });
      }
      // The handle is released even when the header could not be written: the caller has the code.
      if (const int closed = sys::CloseFile(table->file); closed != 0 && code == kDbfOk) code = CodeFromErrno(closed);
    }
    *table = DbfTable{};
    return code;
  });
}

int DbfOpen(DbfEngine& engine, std::string_view path, int& handle) {
  handle = 0;
  const int code = Guarded([&] {
    TablePath tablePath;
    if (const int code = TakeHandle(engine, path, tablePath, handle)) return code;
    DbfTable& table = engine.tables[handle - 1];
    if (const int code = CheckNotOpenElsewhere(engine, table, tablePath.native)) return code;
    int code =
        OpenTableFile(*engine.system, tablePath.native, sys::Access::kReadWrite, sys::Creation::kExisting, table.file);
    if (code == kErrPathFileAccess) {  // read-only
      code = OpenTableFile(*engine.system, tablePath.native, sys::Access::kRead, sys::Creation::kExisting, table.file);
    }
    if (code == kErrFileNotFound) return MissingFileCode(tablePath.native);
    return code != kDbfOk ? code : ReadHeader(table);
  });
  if (code != kDbfOk && handle != 0) {
    // A failed open keeps no handle, so a stale handle number can never close another table.
    DbfTable& table = engine.tables[handle - 1];
    table = DbfTable{};
    handle = 0;
  }
  return code;
}

int DbfGetInfo(const DbfEngine& engine, int handle, DbfInfo& info) {
  const DbfTable* table = TableOf(engine, handle);
  if (const int code = CheckOpen(table)) return code;
  info = {.recordCount = table->recordCount,
          .fieldCount = static_cast<int>(table->fields.size()),
          .recordLength = table->recordLength,
          .hasMemo = HasMemo(table->version),
          .languageDriver = table->languageDriver,
          .updated = DbfHeaderDate(table->updated)};
  return kDbfOk;
}

int DbfGetField(const DbfEngine& engine, int handle, int fieldNumber, DbfFieldDef& field) {
  return Guarded([&] {
    const DbfTable* table = TableOf(engine, handle);
    if (const int code = CheckOpen(table)) return code;
    if (fieldNumber < 1 || static_cast<std::size_t>(fieldNumber) > table->fields.size()) return kDbfTooManyFields;
    field = table->fields[fieldNumber - 1];
    return kDbfOk;
  });
}

int DbfReadRecord(DbfEngine& engine, int handle, std::int64_t recordNumber, DbfRecord& record) {
  return Guarded([&] {
    DbfTable* table = TableOf(engine, handle);
    if (const int code = CheckOpen(table)) return code;
    if (recordNumber < 1 || recordNumber > table->recordCount) return kDbfBadRecordNumber;
    // Records the header counts but the file lacks are reported, not made up.
    const std::uint64_t offset = RecordOffset(*table, static_cast<std::uint64_t>(recordNumber));
    std::string text;
    if (const int code = ReadThrough(*table, offset, table->recordLength, text)) return code;
    std::vector<std::string> fields;
    for (const DbfFieldDef& field : table->fields) {
      std::size_t start = 0;
      if (const int code = FieldSpan(field, text.size(), start)) return code;
      fields.push_back(text.substr(start, static_cast<std::size_t>(field.length)));
    }
    record = {std::move(fields), std::move(text)};
    return kDbfOk;
  });
}

DbfDate DbfHeaderDate(const std::array<std::uint8_t, 3>& bytes) {
  const int year = bytes[0] < 80 ? 2000 + bytes[0] : 1900 + bytes[0];
  return {year, bytes[1], bytes[2]};
}

DbfCodePage DbfLanguageDriverCodePage(std::uint8_t languageDriver) {
  switch (languageDriver) {
    case 0x01: return DbfCodePage::k437;
    case 0x03:                             // Windows ANSI
    case 0x57:                             // ANSI, as GDAL writes it
    case 0x58:                             // Western European ANSI
    case 0x59: return DbfCodePage::k1252;  // Spanish ANSI
    default: return DbfCodePage::kUnknown;
  }
}

DbfCodePage DbfCpgCodePage(std::string_view text) {
  std::string name = UpperAscii(TrimBlanks(text.substr(0, text.find_first_of("\r\n"))));
  std::erase_if(name, [](char c) { return c == '-' || c == '_' || c == ' '; });
  for (const std::string_view prefix : {"WINDOWS", "ANSI", "CP"}) {
    if (name.starts_with(prefix)) name.erase(0, prefix.size());
  }
  if (name == "1252") return DbfCodePage::k1252;
  if (name == "437" || name == "OEM") return DbfCodePage::k437;
  if (name == "UTF8") return DbfCodePage::kUtf8;
  if (name == "88591" || name == "ISO88591" || name == "LATIN1") return DbfCodePage::kLatin1;
  return DbfCodePage::kUnknown;
}

std::string DbfCodePageFile(std::string_view tablePath) {
  const std::size_t nameStart = FileNameStart(tablePath);
  const std::size_t dot = tablePath.rfind('.');
  const bool hasExtension = dot != std::string_view::npos && dot >= nameStart;
  const bool lower =
      hasExtension && dot + 1 < tablePath.size() && tablePath[dot + 1] >= 'a' && tablePath[dot + 1] <= 'z';
  return std::string(tablePath.substr(0, hasExtension ? dot : tablePath.size())) + (lower ? ".cpg" : ".CPG");
}

std::string DbfTextToAnsi(std::string_view text, DbfCodePage codePage) {
  switch (codePage) {
    case DbfCodePage::k437: return OemToChar(text);
    case DbfCodePage::kUtf8: return AnsiFromUtf8(text);
    case DbfCodePage::kLatin1: {
      // Latin-1 has control characters where code page 1252 has its letters and signs.
      std::string ansi(text);
      for (char& c : ansi) {
        if (static_cast<unsigned char>(c) >= 0x80 && static_cast<unsigned char>(c) < 0xA0) c = '?';
      }
      return ansi;
    }
    case DbfCodePage::k1252:
    case DbfCodePage::kUnknown: break;
  }
  return std::string(text);
}

std::string DbfErrorText(int code) {
  struct Message {
    int code;
    const char* text;
  };
  static constexpr Message kMessages[] = {
      {kErrOutOfMemory, "Out of memory"},
      {kErrInternal, "Internal error"},
      {kErrBadFileName, "Bad file name or number"},
      {kErrFileNotFound, "File not found"},
      {kErrFileAlreadyOpen, "File already open"},
      {kErrDeviceIo, "Device I/O error"},
      {kErrDiskFull, "Disk full"},
      {kErrPastEndOfFile, "Input past end of file"},
      {kErrTooManyFiles, "Too many files"},
      {kErrDeviceUnavailable, "Device unavailable"},
      {kErrLocked, "Record or file locking error"},
      {kErrDiskNotReady, "Disk not ready"},
      {kErrPathFileAccess, "Path/File access error"},
      {kErrPathNotFound, "Path not found"},
      {kDbfNoFileHandles, "Internal error; no more file Handles"},
      {kDbfNoTableHandles, "Internal error; no more database pool storage space"},
      {kDbfBadType, "Invalid file or field type"},
      {kDbfBadHandle, "Invalid file Handle"},
      {kDbfBadMode, "Invalid file mode for operation"},
      {kDbfBadFieldName, "Invalid field name"},
      {kDbfNoFields, "Invalid field(s) defined; none defined"},
      {kDbfFieldNumberTooHigh, "Invalid field(s) defined; field number too high"},
      {kDbfNameInUse, "Invalid field name; already in use"},
      {kDbfBadFieldLength, "Invalid field length"},
      {kDbfBadDecimals, "Invalid number of decimal places"},
      {kDbfRecordTooLong, "Invalid record length; Record size is greater than 4096 bytes"},
      {kDbfBadRecordNumber, "Invalid DBF record number or DBT sector number"},
      {kDbfRecordLengthMismatch, "Invalid record length; doesn't match header"},
      {kDbfNotDbf, "Invalid file type; file is not a DBF"},
      {kDbfTooManyFields, "Invalid field number; too high"},
      {kDbfBadDate, "Invalid date string"},
  };
  const auto found = std::find_if(std::begin(kMessages), std::end(kMessages),
                                  [code](const Message& message) { return message.code == code; });
  return "Error " + std::to_string(code) + "\r\n" + (found == std::end(kMessages) ? "Unknown error" : found->text);
}

}  // namespace vrk
