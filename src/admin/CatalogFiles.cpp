#include "admin/CatalogFiles.h"

#include <algorithm>
#include <set>

#include "catalog/EntryFile.h"
#include "catalog/Journal.h"
#include "index/Keys.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "support/MediaNames.h"

namespace vrk {
namespace {

std::string MediaPath(std::int16_t (*find)(std::string_view, std::string&), const std::string& field21) {
  std::string path;
  return find(field21, path) == 0 ? Utf8FromAnsi(path) : std::string();
}

}  // namespace

bool IsCatalogName(std::string_view name) {
  return !name.empty() && name.size() <= 8 &&
         std::all_of(name.begin(), name.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

bool SplitCatalogPath(const std::string& path, std::string& directory, std::string& name) {
  const auto slash = path.rfind('/');
  directory = slash == std::string::npos ? "." : (slash == 0 ? "" : path.substr(0, slash));
  name = UpperAscii(slash == std::string::npos ? path : path.substr(slash + 1));
  // A file manager hands over the setup or entry file itself.
  if (name.size() > 4 && (name.ends_with(".SET") || name.ends_with(".DAT"))) name.resize(name.size() - 4);
  return IsCatalogName(name);
}

std::vector<std::string> ExistingCatalogFiles(const std::string& directory, const std::string& name) {
  std::vector<std::string> paths;
  for (const std::string& file : CatalogFileNames(name)) {
    const std::string path = NativePath(directory + "/" + file);
    if (FileExists(path) && std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
  }
  return paths;
}

std::string StoredSoundPath(const std::string& field21) { return MediaPath(lib::GetWAVName, field21); }
std::string StoredPicturePath(const std::string& field21) { return MediaPath(lib::GetBMPName, field21); }

bool CatalogMediaFiles(CatalogStore& store, std::vector<std::string>& paths) {
  if (store.header.FieldLength[kMediaField] <= 0) return true;
  std::set<std::string> named;
  EntryRecord record;
  const auto add = [&](const std::string& path) {
    if (!path.empty() && named.insert(path).second) paths.push_back(path);
  };
  return VisitSlots(store, store.entryFile, store.header, 1, store.header.Count(), false, [&](EntryNumber, char* slot) {
    DecodeSlot(record, store.header, slot, FieldMask{1} << kMediaField);
    add(StoredSoundPath(record.Field[kMediaField]));
    add(StoredPicturePath(record.Field[kMediaField]));
    return true;
  });
}

std::vector<std::string> EntryFileNames(const std::string& directory) {
  std::vector<std::string> files;
  std::vector<std::string> names;
  if (sys::ListDirectory(directory.empty() ? "/" : directory, files) != 0) return names;
  for (const std::string& file : files) {
    if (file.size() <= 4 || UpperAscii(file.substr(file.size() - 4)) != ".DAT") continue;
    const std::string name = UpperAscii(file.substr(0, file.size() - 4));
    if (IsCatalogName(name) && FileExists(directory + "/" + file)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::string IndexNameClash(const std::string& directory, const std::string& name, const std::string& self) {
  const std::string index = IndexFileName(0, name);
  for (const std::string& other : EntryFileNames(directory)) {
    if (other != name && other != self && IndexFileName(0, other) == index) {
      return "Catalog " + name + " would share its index files, " + index.substr(0, 6) + "??.WDX, with catalog " +
             other + ".";
    }
  }
  return {};
}

std::vector<CatalogLine> ListCatalogs(CatalogStore& store, const std::string& directory) {
  std::vector<CatalogLine> lines;
  for (const std::string& name : EntryFileNames(directory)) {
    CatalogStore other(store.ui, store.fileSystem);
    if (!FileExists(SetupFilePath(directory + "/" + name)) ||
        !ReadSetup(other, directory, name, other.fieldTable, other.header)) {
      store.ui.Message("Error loading catalog " + name);
      continue;
    }
    lines.push_back({name, std::max<EntryNumber>(0, other.header.Count())});
  }
  return lines;
}

bool IsCurrentCatalog(const CatalogStore& store, const std::string& directory, const std::string& name) {
  if (!store.CatalogOpen() || store.catalogName != name) return false;
  sys::FileId current, other;
  return sys::IdOfPath(store.catalogDirectory.empty() ? "/" : store.catalogDirectory, current) == 0 &&
         sys::IdOfPath(directory.empty() ? "/" : directory, other) == 0 && current == other;
}

bool HoldCatalog(CatalogStore& holder, const std::string& directory, const std::string& name, bool write) {
  if (!FinishJournals(holder.ui, holder.fileSystem, directory, name)) return false;
  const std::string base = directory + "/" + name;
  const FileMode mode = write ? kBinary : kReadOnly;
  int file = OpenFile(holder.ui, holder.files, base + ".DAT", mode, 0, false);
  if (file == 0) return false;
  file = LockCatalog(holder, base, mode, file);
  if (file == 0) {
    if (FileExists(base + ".DAT")) holder.ui.Message(name + " is in use by another program.", Icon::Exclamation);
    return false;
  }
  holder.catalogDirectory = directory;
  holder.catalogName = name;
  holder.entryFile = file;
  return FinishReplacement(holder, base);
}

}  // namespace vrk
