#include "app/vrkcli/Cli.h"

#include <iostream>

#include "catalog/ComputedFields.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/Editing.h"
#include "shell/Startup.h"

namespace vrk::cli {

int BadInput(const std::string& message) {
  std::cerr << "vrkcli: " << message << '\n';
  return kBadInput;
}

std::string Ansi(const std::string& utf8) { return AnsiFromUtf8(utf8); }

std::string Out(const std::string& ansi) { return Utf8FromAnsi(RightTrim(ansi)); }

bool SplitBase(const std::string& base, std::string& directory, std::string& name) {
  const auto slash = base.rfind('/');
  directory = slash == std::string::npos ? "." : (slash == 0 ? "" : base.substr(0, slash));
  name = Ansi(slash == std::string::npos ? base : base.substr(slash + 1));
  if (name.empty() || name.size() > 8) return false;
  // Letters and digits of ASCII only: <cctype> would also take the locale's letters.
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9')) return false;
  }
  directory = Ansi(directory);
  return true;
}

bool OpenBase(Session& session, const std::string& base) {
  std::string directory, name;
  if (!SplitBase(base, directory, name)) {
    BadInput("not a catalog base path (directory/NAME, NAME 1 to 8 letters and digits): " + base);
    return false;
  }
  session.program.programDirectory = ProgramDirectory("");
  if (!FileExists(directory + "/" + name + ".DAT") || !FileExists(directory + "/" + name + ".SET")) {
    BadInput("no catalog " + base);
    return false;
  }
  if (!UseCatalog(session.program, directory, name)) {
    BadInput("catalog cannot be used: " + base);
    return false;
  }
  return true;
}

int FindField(const Program& program, const std::string& reference) {
  if (!reference.empty() && reference.find_first_not_of("0123456789") == std::string::npos && reference.size() < 3) {
    const int number = std::stoi(reference);
    return number >= 1 && number <= kFieldCount ? number - 1 : -1;
  }
  const std::string wanted = UpperAnsi(RightTrim(Ansi(reference)));
  for (int i = 0; i < kFieldCount; ++i) {
    if (UpperAnsi(RightTrim(program.fieldTable[static_cast<std::size_t>(i)].Name)) == wanted) return i;
  }
  return -1;
}

EntryNumber ParseEntryNumber(const Program& program, const std::string& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  return TypedEntryNumber(text, program.header.Count());
}

void PrintEntry(const Program& program, EntryNumber n, const EntryRecord& record) {
  std::string line = std::to_string(n) + (record.Status == kStatusDeleted ? "\tdeleted" : "\tactive");
  for (int i = 0; i < kFieldCount; ++i) {
    if (program.header.FieldLength[static_cast<std::size_t>(i)] >= 1) {
      line += "\t" + Out(FieldValueText(program.formulaTable, record, i));
    }
  }
  std::cout << line << '\n';
}

}  // namespace vrk::cli
