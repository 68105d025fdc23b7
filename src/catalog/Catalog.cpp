#include "catalog/Catalog.h"

#include <chrono>
#include <cmath>

#include "catalog/EntryFile.h"
#include "catalog/FileIo.h"
#include "catalog/Journal.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Ui.h"

namespace vrk {
namespace {

constexpr int kSlotSize = 16;
constexpr int kFirstFormulaSlot = 47;
constexpr int kSettingsStart = 336;  // ReportName … FirstSorted, to byte 412
constexpr int kOptionsEnd = 736;     // TopMargin … PageNumbers, from byte 622
constexpr std::string_view kOperators = "+-*/";
constexpr auto kLockWait = std::chrono::seconds(2);

std::int64_t SlotOffset(int slot) { return static_cast<std::int64_t>(slot - 1) * kSlotSize; }

std::string EncodeHeader(const CatalogHeader& header) {
  std::string bytes(kHeaderLength, '\0');
  PutSingle(bytes.data(), header.EntryCount);
  for (int i = 0; i < kFieldCount; ++i) PutShort(bytes.data() + 4 + 2 * i, header.FieldLength[i]);
  PutShort(bytes.data() + 46, header.EntryLength);
  std::memcpy(bytes.data() + 48, header.Reserved.data(), header.Reserved.size());
  return bytes;
}

CatalogHeader DecodeHeader(const char* bytes) {
  CatalogHeader header;
  header.EntryCount = GetSingle(bytes);
  for (int i = 0; i < kFieldCount; ++i) header.FieldLength[i] = GetShort(bytes + 4 + 2 * i);
  header.EntryLength = GetShort(bytes + 46);
  std::memcpy(header.Reserved.data(), bytes + 48, header.Reserved.size());
  return header;
}

// A header the program could have written: field lengths in range, slots long enough for them, and a
// whole entry count that the entry file has slots for. Anything else is a damaged or foreign file.
bool HeaderIsSound(const CatalogHeader& header, std::int64_t fileSize) {
  int sum = 0;
  for (const short length : header.FieldLength) {
    if (length < 0 || length > kMaxFieldLength) return false;
    sum += length;
  }
  if (header.EntryLength < EntryLengthFor(header.FieldLength)) return false;
  if (header.EntryCount != std::floor(header.EntryCount) || header.EntryCount > 2147483647.0f) return false;
  return static_cast<std::int64_t>(header.EntryCount) <= fileSize / header.EntryLength;
}

std::int64_t SizeOf(const std::string& path) {
  return static_cast<std::int64_t>(sys::StatusOfPath(NativePath(path)).size);
}

bool WriteSettingsTo(CatalogStore& store, const std::string& path, CatalogSettings& settings) {
  settings.CaseInsensitive = store.caseSensitive ? 0 : 1;
  settings.ReportName = PadFieldName(store.reportFormatName);
  const int file = OpenFile(store.ui, store.files, path, kBinary, 0, false);
  if (file == 0) return false;

  // The bytes up to the end of the options, placed as in the file. The two regions go in one write
  // with the file's own bytes between them, so that a change is never stored half.
  std::string bytes(kOptionsEnd, '\0');
  char* at = bytes.data();
  const long got = ReadBlock(store, file, kSettingsStart, at + kSettingsStart, kOptionsEnd - kSettingsStart);
  if (got < 0) {
    (void)store.files.Close(file);  // nothing was written
    return false;
  }
  // What the file holds of the region; nothing when it ends before the region does.
  const std::string held = got == kOptionsEnd - kSettingsStart ? bytes : std::string();
  const std::string name = CharToOem(settings.ReportName);
  std::memcpy(at + 336, name.data(), kFieldNameLength);
  PutShort(at + 350, settings.FormatSelected);
  PutShort(at + 352, settings.ColumnHeadings);
  PutShort(at + 366, settings.DashedLine);
  PutShort(at + 382, settings.PageLength);
  PutSingle(at + 400, settings.SortedMark);
  PutSingle(at + 404, settings.LastSorted);
  PutSingle(at + 408, settings.FirstSorted);

  PutShort(at + 622, settings.TopMargin);
  PutShort(at + 638, settings.QuickViewColumnWidth);
  PutShort(at + 654, settings.LockTopLine);
  PutShort(at + 670, settings.QuickViewMaxLines);
  PutShort(at + 686, settings.CaseInsensitive);
  PutShort(at + 702, settings.Spare);
  PutShort(at + 718, settings.PrintMemos);
  PutShort(at + 734, settings.PageNumbers);

  // Settings the file already holds are not written again.
  const bool written =
      bytes == held || WriteBlock(store, file, kSettingsStart, std::string_view(bytes).substr(kSettingsStart));
  return store.files.Close(file) && written;
}

// Reads the header at the start of the entry file; false, with the header untouched, when it cannot be read.
bool ReadHeader(CatalogStore& store, const std::string& path, CatalogHeader& header) {
  const int entries = OpenFile(store.ui, store.files, path, kReadOnly, kHeaderLength, false);
  if (entries == 0) return false;
  char bytes[kHeaderLength];
  const long got = ReadBlock(store, entries, 0, bytes, kHeaderLength);
  (void)store.files.Close(entries);  // only read
  if (got == kHeaderLength) {
    header = DecodeHeader(bytes);
    return true;
  }
  store.ui.Message("Error");
  // A file shorter than a header still tells its first bytes; nothing is made up from a refused read.
  if (got > 0) header = DecodeHeader(bytes);
  return got > 0;
}

// Whether this program may change the catalog's files: a read-only medium or read-only files refuse it.
bool MayChange(const std::string& base) {
  return sys::MayWrite(NativePath(base + ".DAT")) && sys::MayWrite(NativePath(base + ".SET"));
}

// Whether the open file is still the one the path names.
bool StillAt(const BufferedFile& file, const std::string& path) {
  sys::FileId open, named;
  return sys::IdOf(file.handle(), open) == 0 && sys::IdOfPath(NativePath(path), named) == 0 && open == named;
}

// Says "NAME was renamed to NEW." when the entry file, no longer at base + ".DAT", is now the entry
// file of another catalog of the directory: a rename was made while this program waited for it.
void SayWhereRenamed(Ui& ui, const BufferedFile& entries, const std::string& base) {
  const auto slash = base.rfind('/');
  const std::string directory = base.substr(0, slash), name = base.substr(slash + 1);
  std::vector<std::string> files;
  sys::FileId open, named;
  if (FileExists(base + ".DAT") || sys::IdOf(entries.handle(), open) != 0 ||
      sys::ListDirectory(directory.empty() ? "/" : directory, files) != 0) {
    return;
  }
  for (const std::string& file : files) {
    if (UpperAscii(file).ends_with(".DAT") && sys::IdOfPath(directory + "/" + file, named) == 0 && named == open) {
      ui.Message(name + " was renamed to " + file.substr(0, file.size() - 4) + ".", Icon::Exclamation);
      return;
    }
  }
}

}  // namespace

std::string SetupFilePath(const std::string& base) {
  const std::string staged = base + kStagedSetup;
  return FileExists(staged) && !FileExists(base + kStagedEntries) ? staged : base + ".SET";
}

bool FinishReplacement(CatalogStore& store, const std::string& base) {
  const std::string entries = NativePath(base + kStagedEntries);
  const std::string setup = NativePath(base + kStagedSetup);
  const std::string macros = NativePath(base + kStagedMacros);
  const bool stagedMacros = FileExists(macros);  // a save that never took effect
  int error = stagedMacros ? sys::RemoveFile(store.fileSystem, macros) : 0;
  std::string path = macros;
  if (error == 0 && FileExists(entries)) {
    // The change never took effect: what it staged goes, the staged entry file last.
    if (FileExists(setup) && (error = sys::RemoveFile(store.fileSystem, setup)) != 0) path = setup;
    if (error == 0 && (error = sys::RemoveFile(store.fileSystem, entries)) != 0) path = entries;
  } else if (error == 0 && FileExists(setup)) {
    path = base + ".SET";
    error = sys::RenameFile(store.fileSystem, setup, NativePath(path));
  } else if (error == 0 && !stagedMacros) {
    return true;
  }
  const std::string directory = base.substr(0, base.rfind('/') + 1);
  if (error == 0 && (error = sys::SyncDirectory(store.fileSystem, directory.empty() ? "." : directory)) != 0)
    path = directory;
  if (error == 0) return true;
  ReportFileError(store.ui, FileFailureFromErrno(error, path));
  return false;
}

int LockCatalog(CatalogStore& store, const std::string& base, FileMode mode, int file) {
  // Another program that changes the catalog for a moment (a vrkcli command) is waited for a little.
  for (int attempt = 0; file != 0 && attempt < 4; ++attempt) {
    BufferedFile& entries = *store.files.Get(file);
    if (!entries.Lock(sys::Lock::kExclusive, kLockWait)) break;
    if (StillAt(entries, base + ".DAT")) return file;
    SayWhereRenamed(store.ui, entries, base);
    (void)store.files.Close(file);  // nothing was written
    file = FileExists(base + ".DAT") ? OpenFile(store.ui, store.files, base + ".DAT", mode, 0, false) : 0;
  }
  if (file != 0) (void)store.files.Close(file);  // nothing was written
  return 0;
}

std::string FormulaText(const Formula& formula) {
  if (!formula.Valid) return {};
  return {static_cast<char>('A' + formula.Operand1), kOperators[static_cast<std::size_t>(formula.Operator)],
          static_cast<char>('A' + formula.Operand2)};
}

Formula ParseFormula(std::string_view slot) {
  Formula formula;
  formula.Valid = true;
  const auto operand = [&](std::size_t at, short& into) {
    if (slot.size() <= at || slot[at] < 'A' || slot[at] > 'U') {
      formula.Valid = false;
    } else {
      into = static_cast<short>(slot[at] - 'A');
    }
  };
  operand(0, formula.Operand1);
  const auto op = slot.size() > 1 ? kOperators.find(slot[1]) : std::string_view::npos;
  if (op == std::string_view::npos) {
    formula.Valid = false;
  } else {
    formula.Operator = static_cast<short>(op);
  }
  operand(2, formula.Operand2);
  return formula;
}

bool ReadSetup(CatalogStore& store, const std::string& directory, const std::string& name, FieldTable& fields,
               CatalogHeader& header) {
  const std::string base = directory + "/" + name;
  const int setup = OpenFile(store.ui, store.files, SetupFilePath(base), kReadOnly, kSlotSize, false);
  if (setup == 0) return false;
  // The setup file is read whole: a file shorter than its layout reads as zeros beyond its end.
  std::string bytes(kSetupFileLength, '\0');
  const bool read = ReadBlock(store, setup, 0, bytes.data(), bytes.size()) >= 0;
  (void)store.files.Close(setup);  // only read
  if (!read) return false;
  for (int i = 0; i < kFieldCount; ++i) {
    const char* slot = bytes.data() + SlotOffset(i + 1);
    fields[i].Name = OemToChar(std::string_view(slot, kFieldNameLength));
    fields[i].Type = GetShort(slot + kFieldNameLength);
    store.formulaTable[i] = ParseFormula(std::string_view(bytes.data() + SlotOffset(kFirstFormulaSlot + i), kSlotSize));
  }
  return ReadHeader(store, base + ".DAT", header);
}

int OpenCatalog(CatalogStore& store, const std::string& directory, const std::string& name, CatalogAccess access) {
  // A rename or removal another program left half done is finished first.
  if (!FinishJournals(store.ui, store.fileSystem, directory, name)) return 0;
  const std::string base = directory + "/" + name;
  if (SizeOf(base + ".DAT") < 1 || SizeOf(SetupFilePath(base)) < 1) return 0;
  bool change = access != CatalogAccess::kRead;
  // A rename or removal that began meanwhile has its files half moved, not read-only: it is waited for.
  if (change && !MayChange(base) &&
      (!FinishJournals(store.ui, store.fileSystem, directory, name) || SizeOf(base + ".DAT") < 1)) {
    return 0;
  }
  if (change && !MayChange(base)) {
    if (access == CatalogAccess::kChange) {
      store.ui.Message("The files of " + name + " are read-only: it cannot be changed.", Icon::Exclamation);
      return 0;
    }
    store.ui.Message("The files of " + name + " are read-only: it is opened for reading only.");
    change = false;
  }
  int file = OpenFile(store.ui, store.files, base + ".DAT", change ? kBinary : kReadOnly, 0, false);
  if (file == 0) return 0;
  if (change) file = LockCatalog(store, base, kBinary, file);
  if (change && file != 0 && !FinishReplacement(store, base)) {
    (void)store.files.Close(file);  // nothing was written
    return 0;
  }
  if (change && file == 0) {
    if (!FileExists(base + ".DAT")) return 0;  // removed while this program waited for it
    if (access == CatalogAccess::kChange) {
      store.ui.Message(name + " is in use by another program.", Icon::Exclamation);
      return 0;
    }
    store.ui.Message(name + " is in use by another program: it is opened for reading only.");
    change = false;
    file = OpenFile(store.ui, store.files, base + ".DAT", kReadOnly, 0, false);
    if (file == 0) return 0;
  }
  // Read once the lock is held: a program that changed the catalog meanwhile has counted its entries.
  if (!ReadSetup(store, directory, name, store.fieldTable, store.header) || store.header.EntryCount < 0) {
    (void)store.files.Close(file);  // nothing was written
    return 0;
  }
  store.writable = change;
  const bool sound = HeaderIsSound(store.header, store.files.Get(file)->Size());
  if (sound && store.header.EntryCount == 0) return file;
  EntryRecord first;
  if (sound && ReadEntry(store, first, store.header, 1, file) &&
      (first.Status == kStatusActive || first.Status == kStatusDeleted)) {
    return file;
  }
  (void)store.files.Close(file);  // only read
  store.writable = false;
  store.header.EntryCount = 0;
  store.header.EntryLength = 0;
  store.header.FieldLength.fill(0);
  store.fieldTable = DefaultFieldTable();
  CatalogNotCompatible notice;
  store.ui.dialogs.Show(notice);
  return 0;
}

bool MakeChangeable(CatalogStore& store) {
  if (store.writable) return true;
  const std::string base = store.BasePath();
  if (!MayChange(base)) return false;
  int file = OpenFile(store.ui, store.files, base + ".DAT", kBinary, 0, false);
  if (file != 0) file = LockCatalog(store, base, kBinary, file);
  if (file == 0) return false;
  if (!FinishReplacement(store, base)) {
    (void)store.files.Close(file);  // nothing was written
    return false;
  }
  (void)store.files.Close(store.entryFile);  // only read
  store.entryFile = file;
  store.writable = true;
  // Another program may have changed the catalog while this one only read it.
  return ReadSetup(store, store.catalogDirectory, store.catalogName, store.fieldTable, store.header);
}

bool InitSetup(CatalogStore& store, const std::string& directory, const std::string& name, FieldTable& fields,
               CatalogHeader& header) {
  header.EntryCount = 0;
  header.EntryLength = 0;
  header.FieldLength.fill(0);
  fields = DefaultFieldTable();
  CatalogSettings defaults;
  return WriteSettingsTo(store, directory + "/" + name + ".SET", defaults);
}

bool CreateCatalog(CatalogStore& store, const std::string& basePath, const FieldTable& fields, CatalogHeader& header) {
  const int setup = OpenFile(store.ui, store.files, basePath + ".SET", kRecords, kSlotSize, false);
  if (setup == 0) return false;
  std::string slots(static_cast<std::size_t>(kFieldCount) * kSlotSize, '\0');
  for (int i = 0; i < kFieldCount; ++i) {
    const std::string name = CharToOem(PadFieldName(fields[i].Name));
    std::memcpy(slots.data() + i * kSlotSize, name.data(), kFieldNameLength);
    PutShort(slots.data() + i * kSlotSize + kFieldNameLength, fields[i].Type);
  }
  std::string formulas(static_cast<std::size_t>(kFieldCount) * kSlotSize + 2, ' ');
  for (int i = 0; i < kFieldCount; ++i) {
    const std::string text = FormulaText(store.formulaTable[i]);
    std::memcpy(formulas.data() + i * kSlotSize, text.data(), text.size());
  }
  PutShort(formulas.data() + kFieldCount * kSlotSize, 0);  // slot 68
  bool ok = WriteBlock(store, setup, SlotOffset(1), slots) &&
            WriteBlock(store, setup, SlotOffset(kFirstFormulaSlot), formulas);
  ok = store.files.Close(setup) && ok;
  if (!ok) return false;

  const int entries = OpenFile(store.ui, store.files, basePath + ".DAT", kRecords, header.EntryLength, false);
  if (entries == 0) return false;
  header.Reserved.fill(0);
  ok = WriteHeader(store, entries, header) && SyncBlocks(store, entries, basePath + ".DAT");
  return store.files.Close(entries) && ok;
}

bool WriteHeader(CatalogStore& store, int file, const CatalogHeader& header) {
  return WriteBlock(store, file, 0, EncodeHeader(header));
}

void RefreshEntryCount(CatalogStore& store) {
  if (store.writable || store.entryFile == 0) return;
  BufferedFile& file = *store.files.Get(store.entryFile);
  char bytes[kHeaderLength];
  std::size_t got = 0;
  // Past the file's read-ahead, which may hold the header as it was.
  if (sys::ReadAt(file.handle(), 0, bytes, sizeof bytes, got) != 0 || got != sizeof bytes) return;
  const CatalogHeader header = DecodeHeader(bytes);
  if (header.EntryLength == store.header.EntryLength && header.FieldLength == store.header.FieldLength &&
      HeaderIsSound(header, file.Size())) {
    store.header.EntryCount = header.EntryCount;
  }
}

namespace {

// Whether the entry file already holds `header`, as it does after every change that wrote its header
// with it: the header then needs no second write.
bool HoldsHeader(BufferedFile* file, const CatalogHeader& header) {
  char bytes[kHeaderLength];
  return file != nullptr && file->ReadAt(0, bytes, kHeaderLength) == kHeaderLength &&
         std::string_view(bytes, kHeaderLength) == EncodeHeader(header);
}

}  // namespace

bool CloseCatalog(CatalogStore& store, int file) {
  const bool written = !store.writable ||
                       ((HoldsHeader(store.files.Get(file), store.header) || WriteHeader(store, file, store.header)) &&
                        SyncBlocks(store, file, store.BasePath() + ".DAT"));
  store.writable = false;
  return store.files.Close(file) && written;
}

void ReadSettings(CatalogStore& store, const std::string& name, CatalogSettings& settings) {
  const int file =
      OpenFile(store.ui, store.files, SetupFilePath(store.catalogDirectory + "/" + name), kReadOnly, 0, false);
  if (file == 0) return;
  char bytes[kOptionsEnd];  // byte n of the file at bytes + n
  const bool read = ReadBlock(store, file, 0, bytes, sizeof bytes) >= 0;
  (void)store.files.Close(file);  // only read
  if (!read) return;              // the settings keep what they held
  const char* at = bytes;

  settings.ReportName = OemToChar(std::string_view(at + 336, kFieldNameLength));
  settings.FormatSelected = GetShort(at + 350);
  settings.ColumnHeadings = GetShort(at + 352);
  settings.DashedLine = GetShort(at + 366);
  settings.PageLength = GetShort(at + 382);
  if (settings.PageLength > 500 || settings.PageLength < 4) settings.PageLength = 60;
  settings.SortedMark = GetSingle(at + 400);
  settings.LastSorted = GetSingle(at + 404);
  settings.FirstSorted = GetSingle(at + 408);
  settings.TopMargin = GetShort(at + 622);
  settings.QuickViewColumnWidth = GetShort(at + 638);
  settings.LockTopLine = GetShort(at + 654);
  settings.QuickViewMaxLines = GetShort(at + 670);
  settings.CaseInsensitive = GetShort(at + 686);
  settings.Spare = GetShort(at + 702);
  settings.PrintMemos = GetShort(at + 718);
  settings.PageNumbers = GetShort(at + 734);

  store.reportFormatName = settings.FormatSelected == 2 ? RightTrim(settings.ReportName) : std::string();
  if (settings.QuickViewMaxLines >= 4012) settings.QuickViewMaxLines = 4011;
  if (settings.QuickViewColumnWidth >= 65) settings.QuickViewColumnWidth = 64;
  if (settings.QuickViewColumnWidth < 3) settings.QuickViewColumnWidth = 3;
  store.caseSensitive = settings.CaseInsensitive == 0;
}

bool WriteSettings(CatalogStore& store, const std::string& name, CatalogSettings& settings) {
  return WriteSettingsTo(store, store.catalogDirectory + "/" + name + ".SET", settings);
}

}  // namespace vrk
