#include "report/OutputTarget.h"

#include <vector>

#include "catalog/Files.h"
#include "index/Keys.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "report/ReportFormat.h"
#include "report/ReportMaintenance.h"

namespace vrk {
namespace {

struct Protected {
  std::string path;
  std::string owner;  // "the catalog NAME" or "the program"
};

std::vector<Protected> ProtectedPaths(const ProtectedFiles& files) {
  std::vector<Protected> paths;
  if (!files.catalogName.empty()) {
    for (const std::string& name : CatalogFileNames(files.catalogName)) {
      paths.push_back({NativePath(files.catalogDirectory + "/" + name), "the catalog " + files.catalogName});
    }
  }
  if (files.programDirectory.empty()) return paths;
  for (const char* name : {kIniFileName, kSecurityFileName}) {
    paths.push_back({NativePath(files.programDirectory + "/" + name), "the program"});
  }
  for (const std::string& format : ListReportFormats(files.programDirectory)) {
    paths.push_back({ReportFormatPath(files.programDirectory, format), "the program"});
  }
  return paths;
}

// A resolved path with its file name upper-cased: the program finds its files whatever the letter case
// of their names (NativePath), so a file made as rec.mem becomes the memo file of REC.
std::string Comparable(const std::string& path) {
  std::string resolved = sys::ResolvedPath(path);
  const auto slash = resolved.rfind('/') + 1;
  return resolved.substr(0, slash) + UpperAscii(resolved.substr(slash));
}

// Whether `path` names the file `target` names, or would, once made.
bool SameFile(const std::string& path, const std::string& target, bool targetExists, const sys::FileId& targetId) {
  sys::FileId id;
  if (targetExists && sys::IdOfPath(path, id) == 0 && id == targetId) return true;
  return !target.empty() && Comparable(path) == target;
}

}  // namespace

ProtectedFiles ProtectedFilesOf(const CatalogStore& store) {
  return {store.programDirectory, store.catalogDirectory, store.CatalogOpen() ? store.catalogName : ""};
}

std::string OutputTargetRefusal(const ProtectedFiles& files, const std::string& path) {
  if (path.empty()) return {};
  sys::FileId targetId;
  const bool exists = sys::IdOfPath(NativePath(path), targetId) == 0;
  const std::string target = Comparable(NativePath(path));
  for (const Protected& file : ProtectedPaths(files)) {
    if (SameFile(file.path, target, exists, targetId)) {
      return PathText(path) + " is " + PathText(FileNamePart(file.path)) + ", a file of " + file.owner +
             ": no output is written over it.";
    }
  }
  return {};
}

bool RefuseOutputTarget(CatalogStore& store, const std::string& path) {
  const std::string refusal = OutputTargetRefusal(ProtectedFilesOf(store), path);
  if (refusal.empty()) return false;
  store.ui.Message(refusal, Icon::Exclamation);
  return true;
}

}  // namespace vrk
