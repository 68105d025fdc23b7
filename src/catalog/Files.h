// Files opened by number, the way every part of the program opens its files: OpenFile asks the
// replace/create questions, reports failures in the "File Error" box and hands out a file number
// (0 meaning nothing was opened). The file numbers live in the program's FileTable.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vrk {

class Ui;

// 1 replaces the file's content; 2 reads, and only reads, any file; 3 appends; 4 and 5 read and write
// records and bytes, creating the file when it is missing.
enum FileMode : int { kWriteText = 1, kReadOnly = 2, kAppendText = 3, kRecords = 4, kBinary = 5 };

// An open file of the file table. Reads that run on from one another go through a read-ahead block,
// so that walking a large entry file in entry order costs one system call per 64 KiB, while reads
// here and there (in key order) read just what they ask for. Writes go straight to the file, except
// inside a batch, where consecutive writes are gathered and written together.
class BufferedFile {
 public:
  BufferedFile(sys::FileHandle handle, std::string path) : handle_(std::move(handle)), path_(std::move(path)) {}
  ~BufferedFile() { (void)WritePending(); }  // best effort: callers that care close through FileTable::Close
  BufferedFile(const BufferedFile&) = delete;
  BufferedFile& operator=(const BufferedFile&) = delete;

  // Reads up to `size` bytes at `offset`; returns the count read (short at the end of the file),
  // or -1 with error() set.
  [[nodiscard]] long ReadAt(std::int64_t offset, char* data, std::size_t size);
  [[nodiscard]] bool WriteAt(std::int64_t offset, const char* data, std::size_t size);

  void BeginBatch();
  [[nodiscard]] bool EndBatch();  // writes what the batch gathered
  // Forgets what a batch gathered and the disk would not take, once the user has given it up.
  void DropGathered() { pending_.clear(); }
  // Writes what a batch gathered, then puts the file's data on the disk; a file not written since it
  // was last put there is not put there again.
  [[nodiscard]] bool Sync();
  // The file's length on the disk (what a batch gathered and has not written is not counted); -1 with
  // error() set.
  std::int64_t Size();
  // A lock on the whole file, waiting up to `wait` for other programs; false with error() set.
  [[nodiscard]] bool Lock(sys::Lock lock, std::chrono::milliseconds wait = {});

  bool writable() const { return handle_.writable(); }
  const sys::FileHandle& handle() const { return handle_; }
  int error() const { return error_; }  // errno of the last failure
  const std::string& path() const { return path_; }

 private:
  bool Failed(int error);
  bool WritePending();
  void KeepCacheTrue(std::int64_t offset, const char* data, std::size_t size);

  sys::FileHandle handle_;
  std::string path_;
  int error_ = 0;
  std::vector<char> cache_;
  std::int64_t cacheStart_ = -1;
  std::size_t cacheLength_ = 0;
  std::int64_t readEnd_ = -1;  // where the last read ended: a read from there runs on
  bool batch_ = false;
  // Written since the last sync; a file just opened may hold writes of another handle not yet synced.
  bool unsynced_ = true;
  std::vector<char> pending_;
  std::int64_t pendingStart_ = 0;
};

class FileTable {
 public:
  // The files are opened on `system`.
  explicit FileTable(sys::FileSystem& system = sys::SystemFiles()) : system_(&system) {}
  sys::FileSystem& system() const { return *system_; }
  int Add(std::unique_ptr<BufferedFile> file);  // the lowest free number from 1
  BufferedFile* Get(int number) const;
  // False when what a batch gathered could not be written.
  [[nodiscard]] bool Close(int number);
  std::size_t OpenCount() const { return files_.size(); }

 private:
  sys::FileSystem* system_;
  std::map<int, std::unique_ptr<BufferedFile>> files_;
};

// Kinds of failure the "File Error" box knows; `kOther` shows nothing.
enum class FileFailure {
  kIllegalName,
  kBadAccess,
  kAlreadyOpen,
  kDiskFull,
  kReadPastEnd,
  kDeviceUnavailable,
  kDiskNotReady,
  kPathNotFound,
  kOther
};

// A failure for the "File Error" box: its kind and the file it concerns (empty when unknown).
struct FileFailed {
  FileFailed(FileFailure kind, std::string path = {}) : kind(kind), path(std::move(path)) {}
  FileFailure kind;
  std::string path;
};

FileFailed FileFailureFromErrno(int error, const std::string& path);

// Shows the "File Error" box for a failure; 0 retry, 1 ignore, 2 give up, 3 unrecognised.
int ReportFileError(Ui& ui, const FileFailed& failure);

// Opens `path` in a mode 1 to 5 and returns its file number, or 0.
// With `ask`, asks before replacing (mode 1) or creating a file.
int OpenFile(Ui& ui, FileTable& files, const std::string& path, FileMode mode, int recordLength, bool ask);

bool FileExists(const std::string& path);
// The text after the last '/', or the whole path.
std::string FileNamePart(std::string_view path);

}  // namespace vrk
