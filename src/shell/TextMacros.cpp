#include "shell/TextMacros.h"

#include "catalog/Catalog.h"
#include "catalog/FileIo.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "shell/EntryScreen.h"
#include "shell/Program.h"
#include "support/Macros.h"

namespace vrk {
namespace {

constexpr std::string_view kMenuLetters = "EFHORUV";
constexpr short kRecordMark = 2;

// The key of each macro index, in index order.
std::string MacroKeys() {
  std::string keys = "1234567890";
  for (char c = 'A'; c <= 'Z'; ++c) {
    if (kMenuLetters.find(c) == std::string_view::npos) keys += c;
  }
  return keys;
}

}  // namespace

MacroKeyTable BuildMacroKeyTable() {
  MacroKeyTable table;
  table.fill(-1);
  const std::string keys = MacroKeys();
  for (std::size_t i = 0; i < keys.size(); ++i) table[static_cast<unsigned char>(keys[i])] = static_cast<short>(i);
  return table;
}

std::string MacroKeyName(int index) { return std::string("Alt + ") + MacroKeys().at(static_cast<std::size_t>(index)); }

std::string MacroPath(const CatalogStore& store) { return store.BasePath() + ".MCR"; }

std::string MacroFileBytes(const MacroTable& table) {
  std::string bytes;
  for (const std::string& macro : table) {
    std::string record = macro.substr(0, kMacroTextLength);
    record.resize(kMacroRecordLength, ' ');
    PutShort(record.data() + kMacroTextLength, kRecordMark);
    bytes += record;
  }
  return bytes;
}

bool LoadMacros(CatalogStore& store, MacroTable& table) {
  if (!FileExists(MacroPath(store))) return true;
  const int file = OpenFile(store.ui, store.files, MacroPath(store), kReadOnly, 0, false);
  if (file == 0) return false;
  std::string bytes(kMacroCount * kMacroRecordLength, '\0');
  const long got = ReadBlock(store, file, 0, bytes.data(), bytes.size());
  (void)store.files.Close(file);
  if (got < 0) return false;
  for (std::size_t i = 0; i < table.size(); ++i) {
    std::string text = bytes.substr(i * kMacroRecordLength, kMacroTextLength);
    text.resize(std::min(text.find('\0'), text.size()));  // a file cut short holds nothing more
    table[i] = RightTrim(text);
  }
  return true;
}

// Written beside the old file and put in its place in one rename, so that a save stopped half way
// leaves the macros as they were.
bool SaveMacros(CatalogStore& store, const MacroTable& table) {
  const std::string path = MacroPath(store);
  const std::string staged = store.BasePath() + kStagedMacros;
  const int file = OpenFile(store.ui, store.files, staged, kWriteText, 0, false);
  if (file == 0) return false;
  bool saved = WriteBlock(store, file, 0, MacroFileBytes(table)) && SyncBlocks(store, file, staged);
  saved = store.files.Close(file) && saved;
  int error = 0;
  if (saved && ((error = sys::RenameFile(store.fileSystem, NativePath(staged), NativePath(path))) != 0 ||
                (error = sys::SyncDirectory(store.fileSystem,
                                            store.catalogDirectory.empty() ? "." : store.catalogDirectory)) != 0)) {
    ReportFileError(store.ui, FileFailureFromErrno(error, path));
    saved = false;
  }
  if (!saved) (void)sys::RemoveFile(store.fileSystem, NativePath(staged));
  return saved;
}

bool ExpandMacro(Program& program, char key) {
  const auto code = static_cast<unsigned char>(key);
  if (code >= program.macros.keys.size() || program.macros.keys[code] < 0) return false;
  std::string typed;
  lib::UnFilterMacro(program.macros.table[static_cast<std::size_t>(program.macros.keys[code])], typed);
  if (!typed.empty()) program.screen.TypeText(typed);
  program.ui.DoEvents();
  return true;
}

std::string TypedMacro(const MacroTable& table, int index) {
  std::string typed;
  lib::UnFilterMacro(table.at(static_cast<std::size_t>(index)), typed);
  return typed;
}

std::string MacroTooLong(const std::string& typed) {
  const std::size_t stored = lib::StoredMacroLength(typed);
  if (stored <= lib::kMacroLength) return {};
  return "This macro takes " + std::to_string(stored) + " characters when stored; a macro holds at most " +
         std::to_string(lib::kMacroLength) + ".";
}

bool SaveMacroText(EditMacro& edit, int index, const std::string& typed) {
  if (typed.empty()) {
    edit.program.ui.Message("No Macro Text Specified.");
    return false;
  }
  if (const std::string refusal = MacroTooLong(typed); !refusal.empty()) {
    edit.program.ui.Message(refusal, Icon::Exclamation);
    return false;
  }
  MacroTable table = edit.program.macros.table;
  lib::FilterMacro(typed, table.at(static_cast<std::size_t>(index)));
  if (!SaveMacros(edit.program, table)) return false;
  edit.program.macros.table = table;
  return true;
}

void SetupMacroCommand(Program& program) {
  EditMacro edit{program};
  program.ui.dialogs.Show(edit);
}

}  // namespace vrk
