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

namespace vrk {

class Ui;

enum FileMode : int { kWriteText = 1, kReadText = 2, kAppendText = 3, kRecords = 4, kBinary = 5 };

// An open file. Reads go through a block cache, so that walking a large entry file in entry order
// costs one system call per 64 KiB. Writes go straight to the file, except inside a batch, where
// consecutive writes are gathered and written together.
class File {
 public:
  explicit File(int descriptor);
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Reads up to `size` bytes at `offset`; returns the count read (short at the end of the file),
  // or -1 with error() set.
  long ReadAt(std::int64_t offset, char* data, std::size_t size);
  bool WriteAt(std::int64_t offset, const char* data, std::size_t size);

  void BeginBatch();
  bool EndBatch();  // writes what the batch gathered
  bool Flush();
  std::int64_t Size();

  int error() const { return error_; }  // errno of the last failure

 private:
  bool Fail();
  bool WritePending();

  int descriptor_;
  int error_ = 0;
  std::vector<char> cache_;
  std::int64_t cacheStart_ = -1;
  std::size_t cacheLength_ = 0;
  bool batch_ = false;
  std::vector<char> pending_;
  std::int64_t pendingStart_ = 0;
};

class FileTable {
 public:
  int Add(std::unique_ptr<File> file);  // the lowest free number from 1
  File* Get(int number) const;
  bool Close(int number);  // false when the last writes failed
  std::size_t OpenCount() const { return files_.size(); }

 private:
  std::map<int, std::unique_ptr<File>> files_;
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

FileFailure FileFailureFromErrno(int error, const std::string& path);

// Shows the "File Error" box for a failure; 0 retry, 1 ignore, 2 give up, 3 unrecognised.
int ReportFileError(Ui& ui, FileFailure kind);

// Opens `path` (code page 1252) in a mode 1 to 5 and returns its file number, or 0.
// With `ask`, asks before replacing (mode 1) or creating a file.
int OpenFile(Ui& ui, FileTable& files, const std::string& path, int mode, int recordLength, bool ask);

bool FileExists(const std::string& path);
// The text after the last '/', or the whole path.
std::string FileNamePart(std::string_view path);

}  // namespace vrk
