#include "catalog/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Paths.h"
#include "platform/Ui.h"

namespace vrk {
namespace {

constexpr std::size_t kBlock = 64 * 1024;

}  // namespace

bool BufferedFile::Failed(int error) {
  error_ = error;
  return false;
}

long BufferedFile::ReadAt(std::int64_t offset, char* data, std::size_t size) {
  if (offset < 0) {
    Failed(EINVAL);
    return -1;
  }
  if (!WritePending()) return -1;
  const std::int64_t end = offset + static_cast<std::int64_t>(size);
  const bool runsOn = offset == readEnd_;
  readEnd_ = end;
  const std::int64_t cacheEnd = cacheStart_ + static_cast<std::int64_t>(cacheLength_);
  if (cacheStart_ >= 0 && offset >= cacheStart_ && end <= cacheEnd) {
    std::memcpy(data, cache_.data() + (offset - cacheStart_), size);
    return static_cast<long>(size);
  }
  std::size_t got = 0;
  if (!runsOn || size >= kBlock) {
    if (const int error = sys::ReadAt(handle_, static_cast<std::uint64_t>(offset), data, size, got)) {
      Failed(error);
      return -1;
    }
    return static_cast<long>(got);
  }
  // Reads that run on are served from a block read ahead from here.
  cache_.resize(kBlock);
  cacheStart_ = -1;
  if (const int error = sys::ReadAt(handle_, static_cast<std::uint64_t>(offset), cache_.data(), kBlock, got)) {
    Failed(error);
    return -1;
  }
  cacheStart_ = offset;
  cacheLength_ = got;
  const std::size_t count = std::min(size, got);
  std::memcpy(data, cache_.data(), count);
  return static_cast<long>(count);
}

// Keeps the read-ahead block true to what is now on disk.
void BufferedFile::KeepCacheTrue(std::int64_t offset, const char* data, std::size_t size) {
  if (cacheStart_ < 0) return;
  const std::int64_t from = std::max(offset, cacheStart_);
  const std::int64_t to =
      std::min(offset + static_cast<std::int64_t>(size), cacheStart_ + static_cast<std::int64_t>(kBlock));
  if (from >= to) return;
  const std::int64_t cachedEnd = cacheStart_ + static_cast<std::int64_t>(cacheLength_);
  if (from > cachedEnd) {  // the write leaves a hole, which reads as zeros
    std::memset(cache_.data() + cacheLength_, 0, static_cast<std::size_t>(from - cachedEnd));
  }
  std::memcpy(cache_.data() + (from - cacheStart_), data + (from - offset), static_cast<std::size_t>(to - from));
  cacheLength_ = std::max(cacheLength_, static_cast<std::size_t>(to - cacheStart_));
}

bool BufferedFile::WriteAt(std::int64_t offset, const char* data, std::size_t size) {
  if (offset < 0) return Failed(EINVAL);
  unsynced_ = true;
  KeepCacheTrue(offset, data, size);
  if (batch_) {
    if (!pending_.empty() && pendingStart_ + static_cast<std::int64_t>(pending_.size()) != offset) {
      if (!WritePending()) return false;
    }
    if (pending_.empty()) pendingStart_ = offset;
    pending_.insert(pending_.end(), data, data + size);
    return pending_.size() < kBlock || WritePending();
  }
  if (const int error = sys::WriteAt(handle_, static_cast<std::uint64_t>(offset), data, size)) {
    // What was written of it is unknown: the next read goes to the disk.
    cacheStart_ = -1;
    return Failed(error);
  }
  return true;
}

bool BufferedFile::WritePending() {
  if (pending_.empty()) return true;
  if (const int error =
          sys::WriteAt(handle_, static_cast<std::uint64_t>(pendingStart_), pending_.data(), pending_.size())) {
    // What a failed write gathered stays gathered: trying again must write all of it, not leave a hole.
    cacheStart_ = -1;
    return Failed(error);
  }
  pending_.clear();
  return true;
}

void BufferedFile::BeginBatch() { batch_ = true; }

bool BufferedFile::EndBatch() {
  const bool ok = WritePending();
  batch_ = false;
  return ok;
}

bool BufferedFile::Sync() {
  if (!WritePending()) return false;
  if (!unsynced_) return true;
  if (const int error = sys::SyncFile(handle_)) return Failed(error);
  unsynced_ = false;
  return true;
}

std::int64_t BufferedFile::Size() {
  std::uint64_t size = 0;
  if (const int error = sys::FileSize(handle_, size)) {
    Failed(error);
    return -1;
  }
  return static_cast<std::int64_t>(size);
}

bool BufferedFile::Lock(sys::Lock lock, std::chrono::milliseconds wait) {
  if (const int error = sys::LockFile(handle_, lock, wait)) return Failed(error);
  return true;
}

int FileTable::Add(std::unique_ptr<BufferedFile> file) {
  int number = 1;
  for (const auto& [used, unused] : files_) {
    if (used != number) break;
    ++number;
  }
  files_.emplace(number, std::move(file));
  return number;
}

BufferedFile* FileTable::Get(int number) const {
  const auto it = files_.find(number);
  return it == files_.end() ? nullptr : it->second.get();
}

bool FileTable::Close(int number) {
  const auto it = files_.find(number);
  if (it == files_.end()) return true;
  const bool ok = it->second->EndBatch();
  files_.erase(it);
  return ok;
}

namespace {

FileFailure KindOfErrno(int error, const std::string& path) {
  switch (error) {
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return FileFailure::kIllegalName;
    case EACCES:
    case EPERM:
    case EROFS:
    case sys::kNotAFile: return FileFailure::kBadAccess;
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
      const std::string native = NativePath(path);
      const std::size_t slash = native.rfind('/');
      const std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
      return sys::StatusOfPath(parent).kind == sys::PathKind::kDirectory ? FileFailure::kOther
                                                                         : FileFailure::kPathNotFound;
    }
    default: return FileFailure::kOther;
  }
}

}  // namespace

FileFailed FileFailureFromErrno(int error, const std::string& path) { return {KindOfErrno(error, path), path}; }

int ReportFileError(Ui& ui, const FileFailed& failure) {
  std::string text;
  Buttons buttons = Buttons::Ok;
  switch (failure.kind) {
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
  const Answer answer = ui.ShowMessage(
      {.text = text, .title = "File Error", .buttons = buttons, .icon = Icon::Exclamation, .file = failure.path});
  return answer == Answer::Retry ? 0 : 2;
}

int OpenFile(Ui& ui, FileTable& files, const std::string& path, FileMode mode, int recordLength, bool ask) {
  (void)recordLength;  // records are addressed by byte position; the length belongs to the caller
  if (ask) {
    if (FileExists(path)) {
      if (mode == kWriteText && ui.ShowMessage({"Replace contents of " + PathText(path) + "?", "Replace File?",
                                                Buttons::OkCancel, Icon::Exclamation, true}) == Answer::Cancel) {
        return 0;
      }
    } else if (ui.ShowMessage({"The file " + PathText(path) + " does not exist. " + "Do you want to create it?",
                               "Create File?", Buttons::OkCancel, Icon::None}) == Answer::Cancel) {
      return 0;
    }
  }
  sys::Access access = sys::Access::kReadWrite;
  sys::Creation creation = sys::Creation::kCreate;
  switch (mode) {
    case kWriteText: creation = sys::Creation::kReplace; break;
    case kReadOnly:
      access = sys::Access::kRead;
      creation = sys::Creation::kExisting;
      break;
    case kAppendText:
    case kRecords:
    case kBinary: break;
    default: return 0;
  }
  for (;;) {
    sys::FileHandle handle;
    const int error = sys::OpenFile(files.system(), NativePath(path), access, creation, handle);
    if (error == 0) return files.Add(std::make_unique<BufferedFile>(std::move(handle), path));
    if (ReportFileError(ui, FileFailureFromErrno(error, path)) != 0) return 0;
  }
}

bool FileExists(const std::string& path) { return sys::StatusOfPath(NativePath(path)).kind == sys::PathKind::kFile; }

std::string FileNamePart(std::string_view path) {
  const auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace vrk
