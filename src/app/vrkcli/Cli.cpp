#include "app/vrkcli/Cli.h"

#include <algorithm>
#include <iostream>
#include <system_error>

#include "admin/CatalogFiles.h"
#include "app/vrkcli/VrkcliHelp.h"
#include "catalog/Journal.h"
#include "catalog/Layout.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "report/OutputTarget.h"
#include "shell/Editing.h"
#include "shell/Startup.h"

namespace vrk::cli {

int BadInput(const std::string& message) {
  std::cerr << "vrkcli: " << message << '\n';
  return kBadInput;
}

int BadUsage(std::string_view command) {
  const help::ProgramHelp& help = help::VrkcliHelp();
  std::cerr << help::UsageText(help, help::FindCommand(help, command));
  return kBadInput;
}

std::string Ansi(const std::string& utf8) { return AnsiFromUtf8(utf8); }

std::string EntriesText(EntryNumber count) { return std::to_string(count) + (count == 1 ? " entry" : " entries"); }

std::string Out(const std::string& ansi) { return Utf8FromAnsi(RightTrim(ansi)); }

namespace {

bool DirectoryExists(const std::string& directory) {
  return sys::StatusOfPath(NativePath(directory.empty() ? "/" : directory)).kind == sys::PathKind::kDirectory;
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

int CheckNewBase(Ui& ui, const std::string& base, std::string& directory, std::string& name) {
  if (!SplitCatalogPath(base, directory, name)) {
    return BadInput("not a catalog base path (directory/NAME, NAME 1 to 8 letters and digits): " + base);
  }
  if (!DirectoryExists(directory)) return BadInput("no directory for " + base);
  if (!FinishJournals(ui, sys::SystemFiles(), directory, name)) return kFailed;
  return RefuseTakenName(directory, name, "Import");
}

int RefuseTakenName(const std::string& directory, const std::string& name, const std::string& command,
                    const std::string& self) {
  if (FileExists(directory + "/" + name + ".DAT")) return BadInput("Catalog already exists. " + command + " Aborted.");
  if (const std::string clash = IndexNameClash(directory, name, self); !clash.empty()) {
    return BadInput(clash + " " + command + " Aborted.");
  }
  return 0;
}

int OpenBase(Session& session, const std::string& base, CatalogAccess access) {
  std::string directory, name;
  if (!SplitCatalogPath(base, directory, name)) {
    return BadInput("not a catalog base path (directory/NAME, NAME 1 to 8 letters and digits): " + base);
  }
  session.program.programDirectory = ProgramDirectory("");
  if (!FinishJournals(session.ui, session.program.fileSystem, directory, name)) return kFailed;
  if (!FileExists(directory + "/" + name + ".DAT") || !FileExists(directory + "/" + name + ".SET")) {
    return BadInput("no catalog " + base);
  }
  // Why a catalog cannot be used (in use, read-only, incompatible) has mostly been said by then; one
  // that another program renamed or removed meanwhile, or an empty file, is said here when it was not.
  const int said = session.ui.messageCount;
  if (UseCatalog(session.program, directory, name, access)) return 0;
  if (session.ui.messageCount == said && !FileExists(directory + "/" + name + ".DAT")) {
    session.ui.Message(name + " was renamed or removed by another program.", Icon::Exclamation);
  } else if (session.ui.messageCount == said) {
    std::cerr << "vrkcli: cannot open " << base << ": its entry or setup file is empty or gone\n";
  }
  return kFailed;
}

int CheckExportTarget(const Program& program, const std::string& file, const std::string& path, bool overwrite) {
  if (!DirectoryExists(DirectoryOf(path))) return BadInput("no directory for " + file);
  if (const std::string refusal = OutputTargetRefusal(ProtectedFilesOf(program), path); !refusal.empty()) {
    return BadInput(Utf8FromAnsi(refusal));
  }
  if (FileExists(path) && !overwrite) return BadInput(file + " already exists; --overwrite replaces it");
  return 0;
}

bool TakeFlag(Args& args, const std::string& flag) { return std::erase(args, flag) > 0; }

std::optional<std::string> FieldValue(const std::string& utf8, std::string& error, const TextUse& use) {
  if (std::any_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
    error = "a value may not hold a control character (TAB, line end): " + utf8;
    return std::nullopt;
  }
  const TextLoss loss = MeasureTextLoss(utf8, use.entryFile);
  if (loss.changed > 0 && !use.lossy) {
    error = use.what + " cannot keep the character " + loss.first + "; --lossy stores the closest form";
    return std::nullopt;
  }
  if (loss.changed == 0) return Ansi(utf8);
  std::cerr << "vrkcli: " << use.what << ": " << loss.changed << (loss.changed == 1 ? " character" : " characters")
            << " stored in the closest form\n";
  // The text as the entry file will give it back: the keys filed, the criteria compared and the texts
  // replaced are then those of the stored entries.
  return use.entryFile ? OemToChar(CharToOem(Ansi(utf8))) : Ansi(utf8);
}

std::string FieldWhat(const FieldTable& fields, int field) {
  return "field " + std::to_string(field + 1) + " (" + Out(fields[static_cast<std::size_t>(field)].Name) + ")";
}

int FindField(const FieldTable& fields, const std::string& reference) {
  if (!reference.empty() && reference.find_first_not_of("0123456789") == std::string::npos && reference.size() < 3) {
    const int number = std::stoi(reference);
    return number >= 1 && number <= kFieldCount ? number - 1 : -1;
  }
  const std::string wanted = UpperAnsi(RightTrim(Ansi(reference)));
  for (int i = 0; i < kFieldCount; ++i) {
    if (UpperAnsi(RightTrim(fields[static_cast<std::size_t>(i)].Name)) == wanted) return i;
  }
  return -1;
}

EntryNumber ParseEntryNumber(const Program& program, const std::string& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  return TypedEntryNumber(text, program.header.Count());
}

namespace {

// NAME:LENGTH[:key][:sum][:calc=XoY]
bool ParseFieldSpec(const std::string& spec, int index, CatalogLayout& layout, std::string& error) {
  std::vector<std::string> parts;
  for (std::size_t from = 0;;) {
    const auto colon = spec.find(':', from);
    parts.push_back(spec.substr(from, colon - from));
    if (colon == std::string::npos) break;
    from = colon + 1;
  }
  const std::string name = Ansi(parts[0]);
  if (parts.size() < 2 || name.size() > kFieldNameLength) {
    error = "bad field " + spec + " (NAME:LENGTH[:key][:sum][:calc=XoY], NAME at most 14 characters)";
    return false;
  }
  const std::string& length = parts[1];
  if (length.empty() || length.size() > 3 || length.find_first_not_of("0123456789") != std::string::npos) {
    error = "bad field length in " + spec;
    return false;
  }
  const auto at = static_cast<std::size_t>(index);
  layout.fields[at].Name = PadFieldName(name);
  layout.lengths[at] = static_cast<short>(std::stoi(length));
  bool key = false, sum = false;
  for (std::size_t p = 2; p < parts.size(); ++p) {
    if (parts[p] == "key") {
      key = true;
    } else if (parts[p] == "sum") {
      sum = true;
    } else if (parts[p].rfind("calc=", 0) == 0 && parts[p].size() == 8 &&
               (layout.formulas[at] = ParseFormula(parts[p].substr(5))).Valid) {
    } else {
      error = "bad field option '" + parts[p] + "' in " + spec + " (key, sum or calc=XoY with X, Y in A-U)";
      return false;
    }
  }
  layout.fields[at].Type = key ? (sum ? kKeySumField : kKeyField) : (sum ? kSumField : kPlainField);
  return true;
}

}  // namespace

int ParseLayout(const Args& specs, CatalogLayout& layout) {
  if (specs.size() > kFieldCount) return BadInput("a catalog has at most 21 fields");
  layout = {};
  for (std::size_t i = 0; i < specs.size(); ++i) {
    std::string error;
    if (!ParseFieldSpec(specs[i], static_cast<int>(i), layout, error)) return BadInput(error);
  }
  if (const std::string error = LayoutError(layout); !error.empty()) return BadInput(Utf8FromAnsi(error));
  return 0;
}

bool WriteOut(std::string& text) {
  std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
  text.clear();
  if (std::cout) return true;
  std::cerr << kOutputRefused << '\n';
  return false;
}

}  // namespace vrk::cli
