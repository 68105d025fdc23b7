#include "catalog/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/Paths.h"
#include "platform/Ui.h"

namespace vrk {
namespace {

constexpr std::size_t kBlock = 64 * 1024;

}  // namespace

File::File(int descriptor) : descriptor_(descriptor) {}

File::~File() {
  Flush();
  ::close(descriptor_);
}

bool File::Fail() {
  error_ = errno;
  return false;
}

long File::ReadAt(std::int64_t offset, char* data, std::size_t size) {
  if (offset < 0) {
    error_ = EINVAL;
    return -1;
  }
  if (!WritePending()) return -1;
  std::size_t done = 0;
  while (done < size) {
    const std::int64_t at = offset + static_cast<std::int64_t>(done);
    if (cacheStart_ < 0 || at < cacheStart_ || at >= cacheStart_ + static_cast<std::int64_t>(cacheLength_)) {
      cache_.resize(kBlock);
      const std::int64_t start = at - at % static_cast<std::int64_t>(kBlock);
      ssize_t got;
      do {
        got = ::pread(descriptor_, cache_.data(), kBlock, start);
      } while (got < 0 && errno == EINTR);
      if (got < 0) {
        cacheStart_ = -1;
        Fail();
        return -1;
      }
      cacheStart_ = start;
      cacheLength_ = static_cast<std::size_t>(got);
      if (at >= cacheStart_ + got) break;  // end of file
    }
    const std::size_t from = static_cast<std::size_t>(at - cacheStart_);
    const std::size_t count = std::min(size - done, cacheLength_ - from);
    std::memcpy(data + done, cache_.data() + from, count);
    done += count;
  }
  return static_cast<long>(done);
}

bool File::WriteAt(std::int64_t offset, const char* data, std::size_t size) {
  if (offset < 0) {
    error_ = EINVAL;
    return false;
  }
  // Keep the read cache true to what is now on disk.
  if (cacheStart_ >= 0) {
    const std::int64_t cacheEnd = cacheStart_ + static_cast<std::int64_t>(kBlock);
    const std::int64_t from = std::max(offset, cacheStart_);
    const std::int64_t to = std::min(offset + static_cast<std::int64_t>(size), cacheEnd);
    if (from < to) {
      const std::int64_t cachedEnd = cacheStart_ + static_cast<std::int64_t>(cacheLength_);
      if (from > cachedEnd) {  // the write leaves a hole, which reads as zeros
        std::memset(cache_.data() + cacheLength_, 0, static_cast<std::size_t>(from - cachedEnd));
      }
      std::memcpy(cache_.data() + (from - cacheStart_), data + (from - offset), static_cast<std::size_t>(to - from));
      cacheLength_ = std::max(cacheLength_, static_cast<std::size_t>(to - cacheStart_));
    }
  }
  if (batch_) {
    if (!pending_.empty() && pendingStart_ + static_cast<std::int64_t>(pending_.size()) != offset) {
      if (!WritePending()) return false;
    }
    if (pending_.empty()) pendingStart_ = offset;
    pending_.insert(pending_.end(), data, data + size);
    return pending_.size() < kBlock || WritePending();
  }
  std::size_t done = 0;
  while (done < size) {
    const ssize_t wrote = ::pwrite(descriptor_, data + done, size - done, offset + static_cast<std::int64_t>(done));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return Fail();
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

bool File::WritePending() {
  if (pending_.empty()) return true;
  std::vector<char> data;
  data.swap(pending_);
  const bool wasBatch = batch_;
  batch_ = false;
  const bool ok = WriteAt(pendingStart_, data.data(), data.size());
  batch_ = wasBatch;
  // What a failed write gathered stays gathered: trying again must write all of it, not leave a hole.
  if (!ok) pending_.swap(data);
  return ok;
}

void File::BeginBatch() { batch_ = true; }

bool File::EndBatch() {
  const bool ok = WritePending();
  batch_ = false;
  return ok;
}

bool File::Flush() { return WritePending(); }

std::int64_t File::Size() {
  WritePending();
  struct stat status {};
  return ::fstat(descriptor_, &status) == 0 ? status.st_size : 0;
}

int FileTable::Add(std::unique_ptr<File> file) {
  int number = 1;
  for (const auto& [used, unused] : files_) {
    if (used != number) break;
    ++number;
  }
  files_.emplace(number, std::move(file));
  return number;
}

File* FileTable::Get(int number) const {
  const auto it = files_.find(number);
  return it == files_.end() ? nullptr : it->second.get();
}

bool FileTable::Close(int number) {
  const auto it = files_.find(number);
  if (it == files_.end()) return true;
  const bool ok = it->second->Flush();
  files_.erase(it);
  return ok;
}

FileFailure FileFailureFromErrno(int error, const std::string& path) {
  switch (error) {
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return FileFailure::kIllegalName;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return FileFailure::kBadAccess;
    case EBUSY:
    case ETXTBSY: return FileFailure::kAlreadyOpen;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FileFailure::kDiskFull;
    case ENXIO:
    case ENODEV:
    case EIO: return FileFailure::kDeviceUnavailable;
    case ENOMEDIUM: return FileFailure::kDiskNotReady;
    case ENOTDIR: return FileFailure::kPathNotFound;
    case ENOENT: {
      // A missing directory is a path that does not exist; a missing file is no message here.
      const std::filesystem::path native(NativePath(path));
      std::error_code ec;
      const auto parent = native.has_parent_path() ? native.parent_path() : std::filesystem::path(".");
      return std::filesystem::is_directory(parent, ec) ? FileFailure::kOther : FileFailure::kPathNotFound;
    }
    default: return FileFailure::kOther;
  }
}

int ReportFileError(Ui& ui, FileFailure kind) {
  std::string text;
  Buttons buttons = Buttons::Ok;
  switch (kind) {
    case FileFailure::kIllegalName: text = "That file name is illegal."; break;
    case FileFailure::kBadAccess: text = "Can't open your file for that type of access."; break;
    case FileFailure::kAlreadyOpen: text = "That file is already open."; break;
    case FileFailure::kDiskFull: text = "The disk is full."; break;
    case FileFailure::kReadPastEnd:
      text = std::string("This file has a nonstandard end-of-file marker,") + "or an attempt was made to read beyond " +
             "the end-of-file marker.";
      break;
    case FileFailure::kDeviceUnavailable:
      text = "That device appears to be unavailable.";
      buttons = Buttons::RetryCancel;
      break;
    case FileFailure::kDiskNotReady: text = "The disk is not ready."; break;
    case FileFailure::kPathNotFound: text = "That path doesn't exist."; break;
    case FileFailure::kOther: return 3;
  }
  const Answer answer = ui.ShowMessage({text, "File Error", buttons, Icon::Exclamation});
  return answer == Answer::Retry ? 0 : 2;
}

int OpenFile(Ui& ui, FileTable& files, const std::string& path, int mode, int recordLength, bool ask) {
  (void)recordLength;  // records are addressed by byte position; the length belongs to the caller
  if (ask) {
    if (FileExists(path)) {
      if (mode == kWriteText && ui.ShowMessage({"Replace contents of " + path + "?", "Replace File?", Buttons::OkCancel,
                                                Icon::Exclamation}) == Answer::Cancel) {
        return 0;
      }
    } else if (ui.ShowMessage({"The file " + path + " does not exist. " + "Do you want to create it?", "Create File?",
                               Buttons::OkCancel, Icon::None}) == Answer::Cancel) {
      return 0;
    }
  }
  int flags = 0;
  switch (mode) {
    case kWriteText: flags = O_WRONLY | O_CREAT | O_TRUNC; break;
    case kReadText: flags = O_RDONLY; break;
    case kAppendText: flags = O_WRONLY | O_CREAT; break;
    case kRecords:
    case kBinary: flags = O_RDWR | O_CREAT; break;
    default: return 0;
  }
  for (;;) {
    const int descriptor = ::open(NativePath(path).c_str(), flags | O_CLOEXEC, 0644);
    if (descriptor >= 0) return files.Add(std::make_unique<File>(descriptor));
    if (ReportFileError(ui, FileFailureFromErrno(errno, path)) != 0) return 0;
  }
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(NativePath(path), ec);
}

std::string FileNamePart(std::string_view path) {
  const auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace vrk
