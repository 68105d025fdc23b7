#include "admin/SecurityCode.h"

#include <optional>

#include "catalog/FileIo.h"
#include "platform/Ui.h"

namespace vrk {
namespace {

constexpr std::int64_t kFirstByte = 42;
constexpr std::size_t kBytes = 44;
constexpr std::int64_t kCodeByte = 84;

std::string SecurityFilePath(const CatalogStore& store) { return store.programDirectory + "/" + kSecurityFileName; }

short TypedCode(const std::string& typed) {
  int code = 0;
  for (const char c : typed) code = code * 10 + (c - '0');
  return static_cast<short>(code);
}

}  // namespace

bool ReadSecurityCode(CatalogStore& store, SecuritySettings& settings) {
  settings = {};
  const std::string path = SecurityFilePath(store);
  if (!FileExists(path)) return true;
  const int file = OpenFile(store.ui, store.files, path, kReadOnly, 0, false);
  if (file == 0) return false;
  char bytes[kBytes];
  const long got = ReadBlock(store, file, kFirstByte, bytes, kBytes);
  (void)store.files.Close(file);  // only read
  if (got < 0) return false;
  if (got < static_cast<long>(kBytes)) return true;  // no code in it
  settings.code = GetShort(bytes + 42);
  return true;
}

bool WriteSecurityCode(CatalogStore& store, const SecuritySettings& settings) {
  const std::string path = SecurityFilePath(store);
  const int file = OpenFile(store.ui, store.files, path, kBinary, 0, false);
  if (file == 0) return false;
  char code[2];
  PutShort(code, settings.code);
  bool written = WriteBlock(store, file, kCodeByte, std::string_view(code, 2));
  if (written && !store.files.Get(file)->Sync()) {
    ReportFileError(store.ui, FileFailureFromErrno(store.files.Get(file)->error(), path));
    written = false;
  }
  return store.files.Close(file) && written;
}

SecurityCheck CheckSecurityCode(CatalogStore& store) {
  SecuritySettings settings;
  (void)ReadSecurityCode(store, settings);  // a file that cannot be read has said so, and holds no code
  if (settings.code >= kNoSecurityCode) return SecurityCheck::kPassed;
  const std::optional<std::string> typed = store.ui.AskNumber(
      {.caption = "Security Check", .question = "Please Enter Password", .maxLength = 3, .password = true});
  // Cancel answers 9999, which no code matches.
  const int answer = typed ? TypedCode(*typed) : 9999;
  if (answer == settings.code) return SecurityCheck::kPassed;
  if (settings.code >= 251) return SecurityCheck::kReadOnly;
  store.ui.Beep();
  store.ui.Message("ACCESS DENIED!!!");
  return SecurityCheck::kDenied;
}

void SetSecurityCode(CatalogStore& store) {
  const std::optional<std::string> typed = store.ui.AskName(
      {.caption = "Set Security Code", .question = "Enter 3-Digit Number", .maxLength = 3, .digitsOnly = true});
  if (typed && !typed->empty()) (void)StoreSecurityCode(store, *typed);
}

bool StoreSecurityCode(CatalogStore& store, const std::string& typed) {
  SecuritySettings settings;
  if (!ReadSecurityCode(store, settings)) return false;
  settings.code = TypedCode(typed);
  return WriteSecurityCode(store, settings);
}

}  // namespace vrk
