// vrkback: backs a catalog up. `vrkback BASE` (BASE is directory/NAME) writes every file of the
// catalog (entry, setup, macro, memo and index files) into one compressed archive
// backup/NAME-YYYYMMDD-HHMMSS.tar.gz beside the catalog, which any tar restores, and says where. The
// catalog's lock is held shared meanwhile, so that no program changes it half way through; the
// archive appears under its name only once it is whole. Exits 0 when the archive is written, 1 after a
// failure, 2 for bad input. The pictures and sounds the entries name go in too, under media/, unless
// --no-media is given.
#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "admin/CatalogFiles.h"
#include "app/help/ProgramHelp.h"
#include "catalog/Catalog.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "report/OutputTarget.h"

namespace vrk {
namespace {

constexpr int kFailed = 1;
constexpr int kBadInput = 2;
constexpr std::size_t kChunk = 64 * 1024;
constexpr std::uint64_t kMostHoleBytes = 64 * 1024 * 1024;

int Fail(const std::string& what, int error = 0) {
  std::cerr << "vrkback: " << what << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
  return kFailed;
}

// The archive's bytes go to its file through the file layer.
struct Sink {
  sys::FileHandle file;
  std::uint64_t written = 0;
  int error = 0;
};

la_ssize_t WriteToFile(archive*, void* data, const void* buffer, size_t length) {
  auto& sink = *static_cast<Sink*>(data);
  // The first failure is the one said: libarchive may write again while it gives up.
  if (const int error = sys::WriteAt(sink.file, sink.written, buffer, length)) {
    if (sink.error == 0) sink.error = error;
    return -1;
  }
  sink.written += length;
  return static_cast<la_ssize_t>(length);
}

// What libarchive says of its last failure; it may say nothing.
std::string ArchiveError(archive* out) {
  const char* text = archive_error_string(out);
  return std::string("cannot write the archive: ") + (text != nullptr ? text : "it failed");
}

std::string Stamp() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

// Adds one file under `name`, or under its own file name when that is empty; false with `failure` set.
bool AddFile(archive* out, const std::string& path, std::string& failure, const std::string& name = {}) {
  sys::FileHandle file;
  std::uint64_t size = 0;
  std::int64_t modified = 0;
  int error = sys::OpenFile(sys::SystemFiles(), path, sys::Access::kRead, sys::Creation::kExisting, file);
  if (error == 0) error = sys::FileSize(file, size);
  if (error == 0) error = sys::ModificationTime(file, modified);
  std::uint64_t holes = 0;
  if (error == 0) error = sys::HoleBytes(file, holes);
  if (error != 0) {
    failure = "cannot read " + path + ": " + std::strerror(error);
    return false;
  }
  // A catalog file is written from end to end; one that is mostly holes (an entry naming a record
  // far beyond the end of its memo file) would be read, compressed and archived for hours.
  if (holes > kMostHoleBytes) {
    failure = "cannot back up " + path + ": " + std::to_string(holes) + " of its " + std::to_string(size) +
              " bytes were never written; the file is damaged";
    return false;
  }
  archive_entry* entry = archive_entry_new();
  archive_entry_set_pathname(entry, (name.empty() ? path.substr(path.rfind('/') + 1) : name).c_str());
  archive_entry_set_size(entry, static_cast<la_int64_t>(size));
  archive_entry_set_filetype(entry, AE_IFREG);
  archive_entry_set_perm(entry, 0644);
  archive_entry_set_mtime(entry, static_cast<time_t>(modified), 0);
  bool ok = archive_write_header(out, entry) == ARCHIVE_OK;
  archive_entry_free(entry);
  std::vector<char> buffer(kChunk);
  for (std::uint64_t at = 0; ok && at < size;) {
    std::size_t got = 0;
    if ((error = sys::ReadAt(file, at, buffer.data(), std::min<std::uint64_t>(kChunk, size - at), got)) != 0 ||
        got == 0) {
      failure = "cannot read " + path + (error != 0 ? std::string(": ") + std::strerror(error) : ": it got shorter");
      return false;
    }
    ok = archive_write_data(out, buffer.data(), got) == static_cast<la_ssize_t>(got);
    at += got;
  }
  // The file may not grow or shrink while it is read: the archive would hold only part of it.
  std::uint64_t after = size;
  if (ok && ((error = sys::FileSize(file, after)) != 0 || after != size)) {
    failure = "cannot back up " + path + ": " + (error != 0 ? std::strerror(error) : "it changed while it was read");
    return false;
  }
  if (!ok) failure = ArchiveError(out);
  return ok;
}

// What a backup writes before it is whole; renamed into place once it is.
constexpr const char* kPart = ".part";

// Removes the NAME-….part files of backups that were killed: a running backup holds its own locked
// and writes it all the time, so one unlocked and unchanged for a minute is nobody's.
void RemoveStaleParts(const std::string& folder, const std::string& name, const std::string& own) {
  std::vector<std::string> files;
  if (sys::ListDirectory(folder, files) != 0) return;
  const std::int64_t now =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
  for (const std::string& file : files) {
    const std::string path = folder + "/" + file;
    if (!file.starts_with(name + "-") || !file.ends_with(kPart) || path == own) continue;
    sys::FileHandle part;
    std::int64_t modified = 0;
    if (sys::OpenFile(sys::SystemFiles(), path, sys::Access::kRead, sys::Creation::kExisting, part) == 0 &&
        sys::LockFile(part, sys::Lock::kExclusive) == 0 && sys::ModificationTime(part, modified) == 0 &&
        now - modified >= 60) {
      (void)sys::RemoveFile(sys::SystemFiles(), path);  // best effort: the next backup tries again
    }
  }
}

// ---- Pictures and sounds ---------------------------------------------------------------------------
// The files the entries name in field 21 go into the archive under media/ with their absolute paths
// (relative ones taken from the working directory, as the programs find them). A file that is not
// there is counted and named, and the backup goes on.

// Messages of the catalog's reading, on standard error.
class BackupUi : public Ui {
 public:
  Answer ShowMessage(const MessageBox& box) override {
    std::cerr << "vrkback: " << Utf8FromAnsi(box.text) << '\n';
    return Answer::Cancel;
  }
};

struct MediaFiles {
  std::vector<std::string> named;    // absolute paths
  std::vector<std::string> missing;  // of those, the ones that could not be read
  int kept = 0;
  bool unread = false;  // the entries could not be read: the catalog's own files are kept all the same
};

// The pictures and sounds the catalog's entries name; `unread` after the message of a read.
void ReadMediaFiles(const std::string& directory, const std::string& name, MediaFiles& media) {
  BackupUi ui;
  CatalogStore store(ui);
  store.entryFile = OpenCatalog(store, directory, name, CatalogAccess::kRead);
  std::vector<std::string> paths;
  media.unread = store.entryFile == 0 || !CatalogMediaFiles(store, paths);
  if (store.entryFile != 0) (void)CloseCatalog(store, store.entryFile);
  std::set<std::string> seen;  // a relative and an absolute path may name one file
  for (const std::string& path : paths) {
    const std::string absolute = sys::AbsolutePath(path);
    if (seen.insert(absolute).second) media.named.push_back(absolute);
  }
}

// Adds the files that are there; false with `failure` set when the archive could not take one.
bool AddMediaFiles(archive* out, MediaFiles& media, std::string& failure) {
  for (const std::string& path : media.named) {
    sys::FileHandle probe;
    if (sys::OpenFile(sys::SystemFiles(), path, sys::Access::kRead, sys::Creation::kExisting, probe) != 0) {
      media.missing.push_back(path);
      continue;
    }
    if (!AddFile(out, path, failure, "media" + path)) return false;
    ++media.kept;
  }
  return true;
}

// How many were kept and which were not found; nothing for a catalog whose entries name none.
void SayMedia(const MediaFiles& media) {
  if (media.unread) std::cout << "The entries could not be read: the pictures and sounds they name are not kept.\n";
  if (media.named.empty()) return;
  std::cout << "Pictures and sounds kept under media/: " << media.kept << '\n';
  if (media.missing.empty()) return;
  std::cout << "Pictures and sounds not found or unreadable: " << media.missing.size() << '\n';
  for (const std::string& path : media.missing) std::cout << "  " << path << '\n';
}

int Backup(const std::string& programDirectory, const std::string& directory, const std::string& name, bool withMedia) {
  const std::string base = directory + "/" + name;
  // Held shared: programs that only read go on, one that changes the catalog waits until the copy is made.
  sys::FileHandle lock;
  if (const int error = sys::OpenFile(sys::SystemFiles(), NativePath(base + ".DAT"), sys::Access::kRead,
                                      sys::Creation::kExisting, lock)) {
    return Fail("cannot open " + base + ".DAT", error);
  }
  if (sys::LockFile(lock, sys::Lock::kShared, std::chrono::seconds(2)) != 0) {
    return Fail(name + " is in use by another program.");
  }
  MediaFiles media;
  if (withMedia) ReadMediaFiles(directory, name, media);
  const std::string folder = directory + "/backup";
  if (const int error = sys::MakeDirectory(sys::SystemFiles(), folder); error != 0 && error != EEXIST) {
    return Fail("cannot make " + folder, error);
  }
  const std::string stamp = Stamp();
  std::string target = folder + "/" + name + "-" + stamp + ".tar.gz";
  if (const std::string refusal = OutputTargetRefusal({programDirectory, directory, name}, target); !refusal.empty()) {
    return Fail(Utf8FromAnsi(refusal));
  }
  // A name of its own, also beside another backup of the same second.
  std::string partial;
  Sink sink;
  if (const int error = sys::CreateUniqueFile(sys::SystemFiles(), folder + "/" + name + "-" + stamp + "-", kPart,
                                              partial, sink.file)) {
    return Fail("cannot write in " + folder, error);
  }
  (void)sys::LockFile(sink.file, sys::Lock::kExclusive);  // where locks are kept; see RemoveStaleParts
  RemoveStaleParts(folder, name, partial);
  archive* out = archive_write_new();
  archive_write_add_filter_gzip(out);
  archive_write_set_format_pax_restricted(out);
  archive_write_set_bytes_in_last_block(out, 1);
  std::string failure;
  bool ok = archive_write_open2(out, &sink, nullptr, WriteToFile, nullptr, nullptr) == ARCHIVE_OK;
  if (!ok) failure = ArchiveError(out);
  for (const std::string& path : ExistingCatalogFiles(directory, name)) {
    if (ok) ok = AddFile(out, path, failure);
  }
  if (ok && withMedia) ok = AddMediaFiles(out, media, failure);
  if (ok && archive_write_close(out) != ARCHIVE_OK) {
    ok = false;
    failure = ArchiveError(out);
  }
  archive_write_free(out);
  if (ok && sink.error == 0) {
    int error = sys::SyncFile(sink.file);
    // A second backup within the same second takes the next free name.
    for (int copy = 2;
         error == 0 && (error = sys::RenameNew(sys::SystemFiles(), partial, target)) == EEXIST && copy < 100; ++copy) {
      target = folder + "/" + name + "-" + stamp + "-" + std::to_string(copy) + ".tar.gz";
      error = 0;
    }
    if (error == 0) error = sys::SyncDirectory(sys::SystemFiles(), folder);
    if (error == 0) {
      std::cout << "The backup of " << name << " is in " << target << '\n';
      if (withMedia) SayMedia(media);
      return 0;
    }
    failure = "cannot write " + target + ": " + std::strerror(error);
  } else if (sink.error != 0) {
    failure = "cannot write " + partial + ": " + std::strerror(sink.error);
  }
  (void)sys::RemoveFile(sys::SystemFiles(), partial);
  return Fail(failure);
}

}  // namespace
}  // namespace vrk

int main(int argc, char** argv) {
  const vrk::help::ProgramHelp& help = vrk::help::VrkbackHelp();
  if (vrk::help::AnswerHelpOrVersion(help, argc, argv)) return 0;
  const bool withMedia = !(argc == 3 && std::string(argv[1]) == "--no-media");
  if (argc != (withMedia ? 2 : 3)) {
    std::cerr << vrk::help::UsageText(help);
    return vrk::kBadInput;
  }
  const std::string base = argv[argc - 1];
  std::string directory, name;
  if (!vrk::SplitCatalogPath(base, directory, name) || !vrk::FileExists(directory + "/" + name + ".DAT")) {
    std::cerr << "vrkback: no catalog " << base << '\n';
    return vrk::kBadInput;
  }
  return vrk::Backup(vrk::ProgramDirectory(argv[0]), directory, name, withMedia);
}
